// The one application object of the test program, as the applet library has it.
#include "applet/QuilletApp.h"

static CQuilletApp theTestApp;
