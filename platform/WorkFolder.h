#pragma once
// Where the program keeps its files: the note (Data\content.ini) and the
// pictures of a pin (source\DeskTopBG\). Normally the program folder; when
// that cannot be written (unpacked under Program Files, or in a folder
// protected against unknown programs) every save there would fail, so the
// files live in %LOCALAPPDATA%\Tabulon\ instead, in the same layout.
#include <functional>
#include <string>

namespace tabulon {

// The folder that holds Data\ and source\DeskTopBG\, ending in a backslash:
// the one SetUpWorkFolder chose, or the program folder before it has run.
std::wstring WorkFolder();

// The background folder under `programFolder` (which ends with a backslash):
// "source\DeskTopBG\", ending with a backslash.
std::wstring BackgroundFolderIn(const std::wstring& programFolder);

struct WorkFolderChoice {
    std::wstring folder;    // ends in a backslash
    bool moved = false;     // not the program folder
    bool firstMove = false; // the note was not there yet: tell the user where it now lives
};

// Chooses the folder once, at start, and makes WorkFolder() give it. When
// the program folder cannot be written, `localAppData`\Tabulon\ is used:
// its folders are created, an existing readable note of the program folder
// is copied there unless one is there already, and so are the background
// pictures it lacks. `writable` tells whether a folder takes new files.
WorkFolderChoice SetUpWorkFolder(const std::wstring& programFolder,
                                 const std::wstring& localAppData,
                                 const std::function<bool(const std::wstring&)>& writable);

// True when a file can be created in `folder` (tried with a probe file that
// is deleted at once).
bool FolderWritable(const std::wstring& folder);

// The user's local application data folder (%LOCALAPPDATA%), ending in a
// backslash; empty when the system does not say.
std::wstring LocalAppDataFolder();

} // namespace tabulon
