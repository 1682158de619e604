#pragma once
// What makes a downloaded runtime installer safe to start: a folder of its own that
// nobody else can plant a file in, and a signature the system trusts from the runtime's
// publisher. Windows only.

#include <string>

// Makes a new folder with a unique name in the temporary folder, open to the current
// user (and the system) only, and returns its path without a trailing backslash. Empty
// when the temporary folder cannot be found or the folder cannot be made: never the
// current folder.
std::wstring CreatePrivateDownloadFolder();

// True when `path` carries an Authenticode signature that WinVerifyTrust accepts and the
// certificate that signed it names `publisher` as its organisation.
bool IsSignedBy(const std::wstring& path, const std::wstring& publisher);
