#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The texts of the transfer dialog, exactly as the user has always seen them (spelling included). Status
// texts that begin with "\n" are shown below the dialog's first line. Texts with %s or %u are filled by
// TransferTexts::format.
namespace quillon::transfer_text {

inline constexpr std::string_view kDownloadTitle = "Downloading from Computer to VQ5K";
inline constexpr std::string_view kUploadTitle = "Uploading from VQ5K to Computer";
inline constexpr std::string_view kDownloadIntro =
    "The unit may contain data in it's memory.\nThe DOWNLOAD operation will overwrite the memory. This "
    "operation "
    "is NOT REVERSIBLE.\nIf you are sure to download press 'Ok' otherwise press 'Close'.";
inline constexpr std::string_view kUploadIntroWithApplication =
    "An application is present in the memory of Computer.\n\tPress 'Ok' to close the current application and "
    "upload from VQ5K.\n\tOtherwise Press 'Close'.";
inline constexpr std::string_view kUploadIntro = "\nPress Ok when ready.";
inline constexpr std::string_view kApplicationChoice = " Application ";
inline constexpr std::string_view kFirmwareChoice = "Firmware";
inline constexpr std::string_view kTryAgain = "&Try again";
inline constexpr std::string_view kByteViewTitle = "Bytes' values in Dec, Hex and ASCII";

// The link.
inline constexpr std::string_view kCanNotOpenPort =
    "\nCan not open port %s\nPlease check communication port settings.";
inline constexpr std::string_view kWriteError = "\nError in writing the frame of number %u";
inline constexpr std::string_view kFinalCrcMismatch = "\nFinal CRC mismatch.";
inline constexpr std::string_view kUnitRejectedFrame = "\nVQ5K hasn't received the right frame of number %u";
inline constexpr std::string_view kUnknownErrorResponse = "\nUnknown error response by VQ5K.";
inline constexpr std::string_view kNotRespondingAfterFrame =
    "\nVQ5K is not responding after frame of number %u";
inline constexpr std::string_view kNotRespondingStartDownload =
    "\nVQ5K is not responding for  Start of download.";
inline constexpr std::string_view kNotRespondingStartUpload =
    "\nVQ5K is not responding for 'Start' of upload.";

// The transfers.
inline constexpr std::string_view kPleaseWait = "\nPlease wait ...";
inline constexpr std::string_view kDownloadFileNotCorrect = "DownLoad File Not Correct";
inline constexpr std::string_view kCanNotOpenDownloadFile =
    "\nCan not open the file to be downloaded.\nCheck Drivers directory for file to be downloaded and Try "
    "Again.";
inline constexpr std::string_view kReadFromFileFailed = "ReadFromOvmFile Failed";
inline constexpr std::string_view kBccNotCorrect = "BCC value recieved from orvik unit is not correct";
inline constexpr std::string_view kDownloadCompleted = "\nDownload is completed successfully.";
inline constexpr std::string_view kDownloadNotCompleted = "\nDownload is not completed succesfully.";
inline constexpr std::string_view kCanNotOpenIntermediateFile = "Can not open intermediate file.";
inline constexpr std::string_view kComputerRejectedFrame =
    "\nComputer has not received the right frame of number %u";
inline constexpr std::string_view kUploadCompleted = "\nUpload is completed successfully.";
inline constexpr std::string_view kUploadNotCompleted = "\nUpload is not completed succesfully.";
// The drivers directory holds no driver at all for the application's unit model (its name, its driver model
// code): said before anything is sent.
inline constexpr std::string_view kNoDriverForModel =
    "\nThe Drivers directory has no driver for the %s unit (driver files %03u*.abs).\nCan not download the "
    "firmware.";
inline constexpr std::string_view kNoPlcNode =
    "PLC is not added in the network.\nCan not download the firmware";
inline constexpr std::string_view kMemoryOverflow =
    "Application memory size is more than the memory-size of the VQ5K unit.\n\tDelete some entities to avoid "
    "overflow.";

// The unit's answers to the unit check.
inline constexpr std::string_view kModelMismatch =
    "Selected Orvik model is not matching with connected model.\n Can not proceed.";
inline constexpr std::string_view kMemoryMismatch =
    "Application memory is more than the Orvik's memory.\n Can not proceed.";
inline constexpr std::string_view kLoggerMismatch =
    "Selected Logger memory is more than the Orvik's log-memory.\n Can not proceed.";
inline constexpr std::string_view kTouchMismatch =
    "Touch-screen is not available in the connected Orvik model.\n Can not proceed.";
inline constexpr std::string_view kUnknownCommunicationError = "Unknown communication error";

// The text with its %u replaced by the number.
inline std::string withNumber(std::string_view text, std::uint32_t number) {
    std::string s(text);
    if (const auto at = s.find("%u"); at != std::string::npos) {
        s.replace(at, 2, std::to_string(number));
    }
    return s;
}

// The text with its %s replaced by the name.
inline std::string withName(std::string_view text, std::string_view name) {
    std::string s(text);
    if (const auto at = s.find("%s"); at != std::string::npos) {
        s.replace(at, 2, name);
    }
    return s;
}

} // namespace quillon::transfer_text
