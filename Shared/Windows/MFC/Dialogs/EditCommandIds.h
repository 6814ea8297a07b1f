// The framework's standard edit command identifiers, for the platform headers that do not
// declare them; the values are the framework's own.
#pragma once

#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 0xE122
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT 0xE123
#endif
#ifndef ID_EDIT_FIND
#define ID_EDIT_FIND 0xE124
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 0xE125
#endif
#ifndef ID_EDIT_SELECT_ALL
#define ID_EDIT_SELECT_ALL 0xE12A
#endif
