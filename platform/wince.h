// Everything the program may call of the emulated Windows CE device.
#pragma once
#include "platform/types.h"
#include "platform/windows.h"
#include "platform/gdi.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/sound.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/memory.h"
#include "platform/clipboard.h"
