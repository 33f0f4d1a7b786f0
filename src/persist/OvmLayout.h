#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillon {

// Fixed places and sizes of the application image, shared by its writer and its reader.
struct OvmLayout {
    static constexpr std::size_t kHeaderBytes = 50;
    static constexpr std::size_t kSettingsBytes = 64;
    static constexpr std::size_t kPasswordBytes = 8;
    static constexpr std::size_t kSettingsStart = kHeaderBytes;
    static constexpr std::size_t kUnitSettingsOffset = 8;    // within the settings section
    static constexpr std::size_t kSpecialByteOffset = 23;    // within the settings section
    static constexpr std::size_t kExtensionFieldOffset = 54; // within the settings section
    // The file offset at which the extension offset is patched once the whole image is known.
    static constexpr std::size_t kExtensionPatchOffset = kSettingsStart + kExtensionFieldOffset;
    static constexpr std::size_t kNodeRecordBytes = 14;
    static constexpr std::size_t kKeyRecordBytes = 21;
    static constexpr std::size_t kScreenRecordBytes = 36;
    static constexpr std::size_t kLoggerBytes = 13;
    static constexpr std::size_t kTagRefBytes = 4;
    static constexpr std::size_t kAlarmGroupBytes = 5;

    static constexpr std::array<std::uint8_t, 9> kExtensionMarker{0x0D, 0x0A, 0xFF, 0xFE, 0xFD,
                                                                  0xFC, 0xFB, 0x0D, 0x0A};

    // The record that carries the logger settings after the key legends. Its first two bytes read as a
    // legend entry of an unknown type, on which readers that do not know it stop.
    static constexpr std::uint8_t kLoggerRecordKey = 0x00;
    static constexpr std::uint8_t kLoggerRecordType = 0x4C;
    static constexpr std::uint8_t kLoggerRecordVersion = 2;
    // The first version lacks the page header's register after the logged tags.
    static constexpr std::uint8_t kLoggerRecordVersionWithoutRegister = 1;
};

// The reader's error numbers: each names the record kind that could not be read.
namespace ovm_error {
inline constexpr int kAlarms = 1002;
inline constexpr int kAlarmWindow = 1001;
inline constexpr int kBargraph = 1004;
inline constexpr int kReadList = 1005;
inline constexpr int kDate = 1006;
inline constexpr int kDataEntryCoil = 1007;
inline constexpr int kDataEntryRegister = 1008;
inline constexpr int kEllipse = 1009;
inline constexpr int kKeyPress = 1010;
inline constexpr int kKeyPressed = 1011;
inline constexpr int kKeyReleased = 1012;
inline constexpr int kScreenKeyPress = 1013;
inline constexpr int kScreenKeyPressed = 1014;
inline constexpr int kScreenKeyReleased = 1015;
inline constexpr int kKeyMismatch = 1016;
inline constexpr int kLogger = 1017;
inline constexpr int kNode = 1018;
inline constexpr int kFilling = 1019;
inline constexpr int kBitmap = 1020;
inline constexpr int kPoints = 1021;
inline constexpr int kPolygon = 1022;
inline constexpr int kPolyline = 1024;
inline constexpr int kSettings = 1025;
inline constexpr int kDisplayCoil = 1026;
inline constexpr int kDisplayRegister = 1027;
inline constexpr int kRectangle = 1028;
inline constexpr int kDisplayRegisterText = 1029;
inline constexpr int kRoundRectangle = 1030;
inline constexpr int kScreen = 1031;
inline constexpr int kTag = 1032;
inline constexpr int kBlock = 1033;
inline constexpr int kTaskList = 1034;
inline constexpr int kTaskTag = 1035;
inline constexpr int kText = 1036;
inline constexpr int kTime = 1037;
inline constexpr int kTouchArea = 1038;
} // namespace ovm_error

} // namespace quillon
