// Every text the program shows to the user in a message box or a caption.
#pragma once

namespace velbrook::app {

constexpr char kCaption[] = "Velbrook";

// Start-up: binding a system function (no owner window, exit codes 1 and 2).
constexpr char kLibraryNotFound[] = "Library not found  ";
constexpr char kFunctionNotFound[] = "Function not found ";

// Start-up: our type-information component could not be made (exit code 0).
constexpr char kComponentMissing[] =
    "Sorry, I'm unable to access OLEAUT32.dll\r\n"
    "Please check that OLEAUT32.dll is installed\r\n"
    "and that it provides LoadTypeLibEx.";

constexpr char kArgumentNotFound[] =
    "Sorry, I could not find the file, or it is not a registered COM library.";

// Opening a library.
constexpr char kFileMissingPrefix[] = "Sorry, I can't find file: \r\n";
constexpr char kOpenFailed[] =
    "Sorry, I can't access the information for this file.\r"
    "It may not be a valid COM library or may not be registered.";

// Opening a file the user named (Open, a drop, the command line); the
// reader's message follows.
constexpr char kFileNotOpenedPrefix[] = "Sorry, I can't open this file as a type library: \r\n";

// Writing a file the user named.
constexpr char kWriteFailedPrefix[] = "Sorry, I can't write the file: \r\n";

// Selection files.
constexpr char kSelectionUnreadablePrefix[] = "Sorry, I can't use this selection file: \r\n";
constexpr char kSelectionOtherLibrary[] =
    "The selection was saved for another library; its rows are checked by name.";
constexpr char kSelectionRowsMissing[] =
    "These rows of the selection are not in this library and were left out:";

// A failure caught while a window handled a message; the program carries on.
constexpr char kFailurePrefix[] = "Sorry, that did not work: ";

// Scan texts.
constexpr char kAborted[] = "Aborted";
constexpr char kTypeLibsFound[] = " TypeLibs found";
constexpr char kBitsOptionCaption[] = "32 and 64 bit";
// After a scan: what it left out, what is wrong with listed rows, and the
// 64-bit registrations a 32-bit list does not show.
constexpr char kLeftOutSuffix[] =
    " left out: file not found (tick \"Include files not found\" to list them)";
constexpr char kProblemRowsSuffix[] = " listed with a problem (see the Problem column)";
constexpr char kNo32BitPrefix[] = "No 32-bit libraries listed; ";
constexpr char kNo32BitSuffix[] = " 64-bit registrations: tick \"32 and 64 bit\" to see them";

// Search texts.
constexpr char kUnreadablePrefix[] = "Could not read ";
constexpr char kSearchPromptCaption[] = "Find interface or object class...";
constexpr char kSearchPromptLabel[] = "Find:";
constexpr char kSearchPromptKindLabel[] = "Kind:";
constexpr char kResultsCaption[] = "Search results";

}  // namespace velbrook::app
