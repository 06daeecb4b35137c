// The one application object of the test program, as the applet library has it.
#include "DiscoveryTestApp.h"

static CQuilletApp theTestApp;
