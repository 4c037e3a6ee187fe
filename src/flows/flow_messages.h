#pragma once

// What the reader flows tell the user, word for word. The command-line tool and the tests
// compare against these.

namespace ravelfin {

// Shared by the send, defaults, manual-command and boot-loader flows.
inline constexpr char kOpenFailedText[] =
    "Could not open this Ravelfin device! or It is not Ravelfin device";

// Send to MSR.
inline constexpr char kWrittenText[] =
    "The configuration settings have been written to Ravelfin device successfully!";
inline constexpr char kWriteFailedText[] =
    "Could not write configuration settings to Ravelfin device!";
inline constexpr char kTooLongText[] =
    "The command is too long, maybe there are too many fields in the formulas, please check it!";
// Also the clone flow's answer to a refused frame.
inline constexpr char kUnknownFuncIdsText[] = "Warning! There are unknown FuncIDs in the command.";

// Save to File and Load from File; the basic and the advanced editor word saving differently.
inline constexpr char kBasicSavedText[] = "Save configuration to file successfully.";
inline constexpr char kBasicSaveFailedText[] = "Failed to save configuration to file.";
inline constexpr char kAdvancedSavedText[] = "Save configuration file successfully.";
inline constexpr char kAdvancedSaveFailedText[] = "Failed to save configuration file.";
inline constexpr char kLoadedText[] = "Load configuration from file successfully.";
inline constexpr char kLoadFailedText[] = "Failed to load configuration from file.";

// Default All.
inline constexpr char kDefaultsFailedText[] = "Fail to set default settings to Ravelfin device!";
inline constexpr char kDefaultsSetText[] = "Set default settings to Ravelfin device successfully!";
inline constexpr char kReopenForReadFailedText[] =
    "Fail to open deivce to read setting again. Please try it again";
inline constexpr char kRereadFailedText[] = "Cannot read setting from Ravelfin device";

// Quick clone.
inline constexpr char kSelectSourceText[] = "Please select a source MSR device!";
inline constexpr char kSelectTargetText[] = "Please select a target MSR device!";
inline constexpr char kNoMemoryText[] = "NO Enough Memory!";
inline constexpr char kSourceOpenFailedText[] =
    "Could not open the source Ravelfin device! or It is not Ravelfin device";
inline constexpr char kTargetOpenFailedText[] =
    "Could not open the target Ravelfin device! or It is not Ravelfin device";
inline constexpr char kSourceReadText[] =
    "Read configuration settings from Source MSR device successfully!";
inline constexpr char kSourceReadFailedText[] =
    "Could not read configuration settings from Ravelfin device!";
inline constexpr char kReadFirstText[] = "Please Read From MSR First!";
inline constexpr char kClonedText[] = "Clone to Target MSR device successfully!";
inline constexpr char kCloneFailedText[] = "Could not Clone to Target MSR device!";

// Manual command.
inline constexpr char kEmptyCommandText[] = "Please Input the command string!";
inline constexpr char kInvalidCommandText[] = "Invalid value in the command text!";
inline constexpr char kNotFramedText[] =
    "The start/end character is not STX/ETX!\nIt is not a legal command!";
inline constexpr char kUnknownCommandText[] = "Warning: Unkown Command!";
inline constexpr char kCommandFailedText[] = "Send Command---failed!";

// Boot loader. The password refusal and the question are the platform's message boxes.
inline constexpr char kInvalidPasswordText[] = "Invalid password!";
inline constexpr char kBootLoaderQuestionCaption[] = "Warning";
inline constexpr char kBootLoaderQuestionText[] =
    "It is IMPORTANT! Do not enter the Boot Loader mode without specific instructions.\n"
    "Do you want to continue?";
inline constexpr char kBootLoaderSetText[] = "Set Boot Loader mode successfully!";
inline constexpr char kBootLoaderFailedText[] = "Fail to set Boot Loader mode!";

}  // namespace ravelfin
