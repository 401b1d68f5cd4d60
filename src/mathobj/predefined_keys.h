// Key numbers of the predefined names: the built-in constants and functions.
// In the elementary family the key encodes the function:
// 0x100 + 16 x (0 plain, 1 inverse, 2 hyperbolic, 3 inverse hyperbolic)
//       + (0 sin, 1 cos, 2 tan, 4 csc, 5 sec, 6 cot).
#pragma once

namespace lemmabox {

constexpr int kKeyPi = 1;
constexpr int kKeyE = 2;
constexpr int kKeyInfinity = 3;
constexpr int kKeyImaginary = 4;
constexpr int kKeyDegree = 5;
constexpr int kKeyDifferential = 0x10;
constexpr int kKeyLog = 0x20;
constexpr int kKeyRe = 0x21;
constexpr int kKeyIm = 0x22;
constexpr int kKeyGamma = 0x23;
constexpr int kKeyFloor = 0x24;
constexpr int kKeyCeiling = 0x25;
constexpr int kKeyRound = 0x26;
constexpr int kKeyBesselJ = 0x30;
constexpr int kKeyBesselY = 0x31;
constexpr int kKeyBesselI = 0x32;
constexpr int kKeyBesselK = 0x33;
constexpr int kKeyAiryAi = 0x34;
constexpr int kKeyAiryBi = 0x35;
constexpr int kKeyLeft = 0x40;
constexpr int kKeyRadius = 0x48;
constexpr int kKeyFromPolar = 0x80;
constexpr int kKeyToPolar = 0x81;
constexpr int kKeyFromCylindrical = 0x82;
constexpr int kKeyToCylindrical = 0x83;
constexpr int kKeyFromSpherical = 0x84;
constexpr int kKeyToSpherical = 0x85;
constexpr int kKeyRowsOf = 0x90;
constexpr int kKeyElementsOf = 0x91;
constexpr int kKeyColumnsOf = 0x92;
constexpr int kKeyMod = 0xA0;

// The elementary family.
constexpr int kKeyElementary = 0x100;
constexpr int kTrigReciprocalBit = 0x04;
constexpr int kTrigInverseBit = 0x10;
constexpr int kTrigHyperbolicBit = 0x20;
constexpr int kKeySin = 0x100;
constexpr int kKeyCos = 0x101;
constexpr int kKeyTan = 0x102;
constexpr int kKeyCot = 0x106;
constexpr int kKeyArcsin = 0x110;
constexpr int kKeyArccos = 0x111;
constexpr int kKeyArctan = 0x112;
constexpr int kKeyArccot = 0x116;
constexpr int kKeySinh = 0x120;
constexpr int kKeyExp = 0x123;
constexpr int kKeyArcsinh = 0x130;
constexpr int kKeyArccosh = 0x131;
constexpr int kKeyArctanh = 0x132;
constexpr int kKeyLn = 0x133;

}  // namespace lemmabox
