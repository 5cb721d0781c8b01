#pragma once

// Ids of the program's own resources, shared by the resource script and the code.
#define IDI_PROGRAM 1
#define IDB_LOGO 100
// The four sounds, of the custom type "SOUND", under the ids the settings file names them by.
#define IDR_SOUND_WHOOP 101
#define IDR_SOUND_DEEDOODEEDOO 102
#define IDR_SOUND_WEEOOWEEOO 103
#define IDR_SOUND_NONE 104
