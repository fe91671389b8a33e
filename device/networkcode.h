#pragma once

// A network code names one interface of the device: type in bits 8-11, index in the low byte.
// "aoip" is 0, "eth.N" 0x100 + N, "isdn.N" 0x200 + N, "mobile.N" 0x300 + N, "wifi.N" 0x400 + N; 0xFFFF is none.
// Families: 0 IP, 1 ISDN, -1 none.

#include <string>

constexpr int networkCodeNone = 0xFFFF;

enum NetworkType : int {
    TypeAoip = 0,
    TypeEthernet = 0x100,
    TypeIsdn = 0x200,
    TypeMobile = 0x300,
    TypeWifi = 0x400,
};

int networkTypeOfName(const std::string &name);
int networkCodeOfName(const std::string &name);
int networkIndexOfName(const std::string &name);
std::string networkNameOfCode(int code);
int networkTypeOfCode(int code);
int networkIndexOfCode(int code);
int networkFamilyOfCode(int code);
int networkFamilyOfType(int type);
int networkFamilyOfName(const std::string &name);
