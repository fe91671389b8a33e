#pragma once

// What the login decides and every page may read: the access level and the firmware of the connected device.
// GUI thread only.

// 0 Operator, 1 Expert, 2 Administrator. Kept over a disconnect until the next successful login.
extern int g_accessLevel;

// major << 16 | minor << 8 | patch, 8 bits each; 0xFFFFFF while the device has told none.
extern unsigned g_deviceFirmwareVersion;

// Packs up to three decimal numbers, each separated from the next by one character of any kind, into the form of
// g_deviceFirmwareVersion; reading stops where no number follows. "1.01.04.0" gives 0x010104, "1.08.00.0"
// 0x010800. Each field is decimal: version texts carry leading zeros ("08") that are no octal.
unsigned parseFirmwareVersion(const char *text);
