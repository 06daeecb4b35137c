// The applet's small framework over Win32 and the common controls.
#pragma once
#include "Object.h"
#include "String.h"
#include "WinApp.h"
#include "Wnd.h"
#include "Dialog.h"
#include "DataExchange.h"
#include "PropertyPage.h"
#include "PropertySheet.h"
#include "Controls.h"
#include "Gdi.h"
