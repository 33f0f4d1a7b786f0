#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The bytes of the unit's transfer protocol, shared by the tool's side (TransferEngine) and the emulated unit
// (UnitEmulator), so that both always agree on them.
namespace quillon::protocol {

inline constexpr std::uint8_t kStartDownload = 0xEE;
inline constexpr std::uint8_t kStartDriverDownload = 0x99;
inline constexpr std::uint8_t kStartUpload = 0xBB;
inline constexpr std::uint8_t kUnitCheckLength = 0x14;
inline constexpr std::uint8_t kAck = 1;
inline constexpr std::uint8_t kAckAlternative = 2; // the unit check may also be passed with 2
inline constexpr std::uint8_t kReject = 0xFF;
inline constexpr std::uint8_t kEndDownload = 0xCC;
inline constexpr std::uint8_t kEndUpload = 0xDD;

inline constexpr std::uint8_t kModelMismatch = 81;
inline constexpr std::uint8_t kMemoryMismatch = 82;
inline constexpr std::uint8_t kLoggerMismatch = 83;
inline constexpr std::uint8_t kTouchMismatch = 84;

inline constexpr std::size_t kDownloadFrameData = 50;
inline constexpr std::size_t kUploadFrameData = 1000;
inline constexpr std::size_t kUploadFrameMax = kUploadFrameData + 3;
inline constexpr std::uint32_t kApplicationOffset = 0x100;
inline constexpr std::uint32_t kDriverOffset = 0;
// The largest memory option of any unit: no image, sent or received, can be longer.
inline constexpr std::uint32_t kLargestImage = 2097152;

// What the unit check asks of the connected unit.
struct UnitCheck {
    std::uint16_t modelToken = 0;
    // The memory option index 0-6 of the unit settings.
    std::uint8_t memoryOption = 0;
};

// The memory of a memory option in kilobytes as the unit check states it (0 for an unknown option).
std::uint16_t memoryKilobytes(std::uint8_t memoryOption) noexcept;
std::array<std::uint8_t, 20> unitCheckRequest(const UnitCheck& check) noexcept;
// The status text for a unit-check reply, or nothing when the reply lets the download go on.
std::optional<std::string_view> unitCheckFailure(std::optional<std::uint8_t> reply) noexcept;

// The exclusive-or of the bytes: the block check character of a frame and the final checksum of a transfer.
std::uint8_t blockCheck(std::span<const std::uint8_t> bytes) noexcept;

// A download frame: n, the low 16 bits of the offset, the data and its block check (n is 1 to 50).
std::vector<std::uint8_t> downloadFrame(std::uint32_t offset, std::span<const std::uint8_t> data);
// An upload frame: n (16-bit), the data and its block check (n is at most 1000).
std::vector<std::uint8_t> uploadFrame(std::span<const std::uint8_t> data);

// The data of a received upload frame when its length and block check agree, else nothing.
std::optional<std::span<const std::uint8_t>> uploadFrameData(std::span<const std::uint8_t> frame) noexcept;

std::uint32_t readLe32(std::span<const std::uint8_t> bytes) noexcept;

// The lines of the byte view of a transfer image file: its first four bytes give the count, then one line per
// byte from the start of the file, "%05u            %03u            %02X            %c". A count larger than
// the file lists only the bytes the file has.
std::vector<std::string> byteViewLines(std::span<const std::uint8_t> file);

} // namespace quillon::protocol
