#pragma once

namespace kestro {

// The installer's package error codes; 0 is success. The main window shows the
// message of the code the install thread failed with.
enum SetupError : int {
    kSetupOk = 0,
    kSetupBadPackage = 1,         // offset field unreadable, 0, or past the end of the file
    kSetupReadPackage = 2,        // the installer file cannot be read whole
    kSetupBadRecord = 3,          // record length field or record does not fit
    kSetupReadRecord = 4,
    kSetupBadArchive = 5,         // archive length field or archive does not fit
    kSetupWriteTemp = 6,          // the temporary archive cannot be written
    kSetupReadCompressed = 7,
    kSetupExtract = 8,            // the archive cannot be opened as ZIP or extraction fails
    kSetupVerify = 9,
    kSetupDownload = 10,          // also opens the product page
};

// The message for a code; a code without an entry (0 included) gives an empty text.
const wchar_t* SetupErrorMessage(int code);

}  // namespace kestro
