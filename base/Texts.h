#pragma once
// Every text of the program a user reads, in one place for a translator and a
// reviewer: captions, menus, notices, questions, error texts and what a
// screen reader says, grouped by where they show. A text with a value in it
// (a file name, a reason) is a function that puts the value in its place.
//
// Here rather than in app/: the composition below the program shows texts of
// its own, and base/ is where every floor can reach them. The toolkit takes
// its words from the program (the skinned controls' default actions) and
// holds none. Portable: the native tests read the same texts.
//
// Not here: the English error texts of the file layer, the codecs and the
// PNG class (their own descriptions of what failed, shown after one of the
// headings below), and the names of files, fonts in English and the
// program's own name in the layouts.
#include <string>

namespace tabulon {

// ---------------------------------------------------------------------------
// Start-up (app/Tabulon.cpp)

// A second start on a note whose first program does not answer.
std::wstring NoteOpenElsewhereText(const std::wstring& noteFile);
// The program folder takes no files: the work moved under the user's profile.
std::wstring WorkFolderMovedText(const std::wstring& workFolder, const std::wstring& noteFile);

// ---------------------------------------------------------------------------
// Main window (app/MainLayout.cpp, app/uMain*.cpp)

// Font faces, by their Chinese names.
inline constexpr wchar_t kSimSunFontName[] = L"宋体";
inline constexpr wchar_t kYaHeiFontName[] = L"微软雅黑";

// The date line: the layout's stand-in until the date is written, and the
// date. `weekday` counts from Sunday as 0 to Saturday as 6.
inline constexpr wchar_t kDateLinePlaceholder[] = L"今天是 2010.6.01 (五)";
std::wstring DateLineText(int year, int month, int day, int weekday);
// The label that opens the system menu.
inline constexpr wchar_t kOptionsLabel[] = L"|  选项";

// The system menu.
inline constexpr wchar_t kHelpItem[] = L"帮助说明";
inline constexpr wchar_t kFeedbackItem[] = L"意见反馈";
inline constexpr wchar_t kHistoryItem[] = L"历史版本";
inline constexpr wchar_t kRestoreWallpaperItem[] = L"恢复原来的桌面";
inline constexpr wchar_t kPinOnMyPictureItem[] = L"在我的桌面图片上贴便笺";
inline constexpr wchar_t kExitItem[] = L"退出程序";

// The note editor's context menu.
inline constexpr wchar_t kCopyItem[] = L"复制";
inline constexpr wchar_t kPasteItem[] = L"粘贴";
inline constexpr wchar_t kUndoItem[] = L"撤销(Ctrl+Z)";
inline constexpr wchar_t kDeleteItem[] = L"删除";
inline constexpr wchar_t kCutItem[] = L"剪切";
inline constexpr wchar_t kCheckMarkItem[] = L"打V";
inline constexpr wchar_t kCrossMarkItem[] = L"打X";

// The skinned controls: what a screen reader names them and their tooltips
// (a tooltip that equals the name is not read twice). A control with a
// shortcut shows its key after the tooltip (WithShortcutText).
inline constexpr wchar_t kCheckMarkName[] = L"打勾";
inline constexpr wchar_t kCheckMarkTip[] = L"打勾 √";
inline constexpr wchar_t kCrossMarkName[] = L"打叉";
inline constexpr wchar_t kCrossMarkTip[] = L"打叉 ×";
inline constexpr wchar_t kOptionsName[] = L"选项";
inline constexpr wchar_t kPinName[] = L"添加到桌面";
inline constexpr wchar_t kPinTip[] = L"把便笺贴到桌面";
inline constexpr wchar_t kMinimizeName[] = L"最小化";
inline constexpr wchar_t kCloseName[] = L"关闭";
std::wstring WithShortcutText(const std::wstring& tip, const std::wstring& shortcut);
// The note editor's name for a screen reader.
inline constexpr wchar_t kNoteEditorName[] = L"便笺";
// The default actions a screen reader offers: a push button's and a menu
// button's.
inline constexpr wchar_t kPressAction[] = L"按下";
inline constexpr wchar_t kOpenAction[] = L"打开";

// ---------------------------------------------------------------------------
// The note and its file (app/uMainNote.cpp)

// At start, a text set aside on a failed save is back in the editor; the
// note's earlier text went to the history folder, when there is one.
std::wstring NoteBackFromAsideText(const std::wstring* historyFolder);
std::wstring HistoryNotKeptText(const std::wstring& reason);
std::wstring NoteChangedOutsideText(const std::wstring& keptCopy);
std::wstring NoteUnreadableText(const std::wstring& noteFile, const std::wstring& sideFile);
// Asked after the error box of a failed save on leaving.
inline constexpr wchar_t kLeaveAfterFailedSaveQuestion[] =
    L"便签没有写入。要把文字另存一旁并退出吗？下次启动时文字会回到编辑框中。\n\n"
    L"“是”：另存一旁并退出。“否”：留在 Tabulon 中。";
// Setting the text aside failed too: without and with the reason.
inline constexpr wchar_t kSetAsideFailedText[] = L"文字也无法另存一旁，Tabulon 不会退出。";
std::wstring SetAsideFailedText(const std::wstring& reason);

// ---------------------------------------------------------------------------
// The settings file (app/SettingsFile.cpp)

std::wstring SettingsUnreadableText(const std::wstring& reason);
std::wstring SettingsNotUnderstoodText(const std::wstring& settingsFile);

// ---------------------------------------------------------------------------
// The history window (app/HistoryWindow.cpp)

inline constexpr wchar_t kHistoryCaption[] = L"历史版本";
inline constexpr wchar_t kHistoryListLabel[] = L"便签的历史版本(&V)，最新的在前：";
inline constexpr wchar_t kHistoryEmptyLabel[] =
    L"还没有历史版本。便签的文字被替换之前，原来的文字会保存为历史版本。";
inline constexpr wchar_t kHistoryTextLabel[] = L"所选版本的文字(&T)：";
inline constexpr wchar_t kHistoryTimeColumn[] = L"时间";
inline constexpr wchar_t kHistorySizeColumn[] = L"大小";
inline constexpr wchar_t kHistoryFirstLineColumn[] = L"第一行";
inline constexpr wchar_t kHistoryRestoreButton[] = L"恢复此版本(&R)";
inline constexpr wchar_t kHistoryFolderButton[] = L"打开文件夹(&F)";
inline constexpr wchar_t kHistoryCloseButton[] = L"关闭";
// A version's first line when its file cannot be read.
inline constexpr wchar_t kHistoryUnreadableCell[] = L"（无法读取）";
// A size under 1 KB.
std::wstring ByteCountText(unsigned bytes);

// ---------------------------------------------------------------------------
// The hidden composition windows (compose/uDeskBGSet.cpp, compose/uPicPreview.cpp)

inline constexpr wchar_t kDeskBGSetCaption[] = L"桌面背景设置";
inline constexpr wchar_t kTransparencyLabel[] = L"透明度:";
inline constexpr wchar_t kOkButton[] = L"确  定";
inline constexpr wchar_t kOkButtonHint[] = L"应用到桌面背景";
inline constexpr wchar_t kCancelButton[] = L"取  消";
inline constexpr wchar_t kPreviewButton[] = L"预  览";
inline constexpr wchar_t kNotePictureButton[] = L"生成内容图片";
inline constexpr wchar_t kPicPreviewCaption[] = L"桌面背景合成预览";
// A picture of the pin could not be loaded.
inline constexpr wchar_t kLoadFailedText[] = L"加载失败！";

// ---------------------------------------------------------------------------
// The user's own picture under the note (compose/PictureFile.cpp,
// compose/UserBackground.cpp)

// A picture that cannot be read, and why.
std::wstring PictureUnreadableText(const std::wstring& picture, const wchar_t* reason);
inline constexpr wchar_t kFileGoneReason[] = L"文件已不存在";
inline constexpr wchar_t kFileUnreadableReason[] = L"文件无法打开";
inline constexpr wchar_t kNotAPictureReason[] = L"图片已损坏，或不是系统能识别的图片格式";
inline constexpr wchar_t kIncompleteReason[] = L"图片不完整，文件只有前面一部分";
inline constexpr wchar_t kTooLargeReason[] = L"图片太大，内存不够";
// No memory to lay the picture out on the screen; the wallpaper stays.
std::wstring PictureTooLargeForScreenText(const std::wstring& picture);
// A failure after which the wallpaper stays as it is.
std::wstring BackgroundKeptText(const std::wstring& failure);
// The note went onto the copy of the desktop kept at the first pin instead:
// because of `failure` (a PictureUnreadableText), or because the picture came
// from a slideshow or Spotlight.
std::wstring OnDesktopCopyText(const std::wstring& failure);
std::wstring UnknownSourceOnDesktopCopyText();
// The note went onto the desktop's colour: there was no picture, or it came
// from a slideshow or Spotlight and there was no copy.
inline constexpr wchar_t kOnColourText[] = L"原来的桌面只有纯色背景，便笺贴在这种颜色上。";
inline constexpr wchar_t kUnknownOnColourText[] =
    L"原来的桌面图片来自幻灯片放映或 Windows 聚焦，无法取得，便笺贴在原来的背景颜色上。";

// ---------------------------------------------------------------------------
// Pinning and restoring the wallpaper (desktop/PreviousWallpaper.cpp)

// Headings of the system's refusal (its own text follows).
inline constexpr wchar_t kPinFailedText[] = L"无法把便签设为桌面背景。";
inline constexpr wchar_t kRestoreFailedText[] = L"无法恢复原来的桌面背景。";
// Told once when a pin stops a slideshow, and when a restore cannot bring
// back a slideshow's or Spotlight's picture.
inline constexpr wchar_t kSlideshowPausedText[] =
    L"原来的桌面背景是幻灯片放映，添加便签时已暂停。"
    L"在“选项”菜单中选择“恢复原来的桌面”即可继续放映。";
inline constexpr wchar_t kSourceUnknownText[] =
    L"原来的桌面背景是幻灯片放映或 Windows 聚焦，它的图片无法自动恢复。"
    L"请在“设置”→“个性化”→“背景”中重新打开。";
inline constexpr wchar_t kNothingRecordedText[] =
    L"没有记录原来的桌面：添加到桌面之前的桌面背景会在添加时记下。";
// A restore that could not bring back every part: the heading, then a
// paragraph per part. `place` is one of the places below; `reason` the
// system's refusal on a line of its own, or empty.
inline constexpr wchar_t kPartlyRestoredText[] = L"原来的桌面已恢复，但有些部分无法恢复：\n\n";
std::wstring ColorNotRestoredText(const std::wstring& reason);
std::wstring PositionNotRestoredText(const std::wstring& reason);
std::wstring PictureNotRecordedText(const std::wstring& place);
std::wstring PictureGoneText(const std::wstring& place, const std::wstring& picture);
std::wstring PictureNotRestoredText(const std::wstring& place, const std::wstring& picture,
                                    const std::wstring& reason);
inline constexpr wchar_t kNoteTakenAwayText[] = L"便签已从桌面上移走，现在显示背景颜色。\n\n";
// Where a picture was: the desktop (one picture for all monitors), the
// primary monitor or another one.
inline constexpr wchar_t kDesktopPlace[] = L"桌面";
inline constexpr wchar_t kPrimaryMonitorPlace[] = L"主显示器";
inline constexpr wchar_t kOtherMonitorPlace[] = L"另一台显示器";

} // namespace tabulon
