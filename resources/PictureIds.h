#pragma once
// Names of the layout pictures stored as RCDATA resources (see Tabulon.rc).
// Each resource is a layout picture: a length-prefixed class name followed by
// the picture kind's own data. Each one also exists at 150 % and 200 %, under
// its name followed by "_150" and "_200".

namespace tabulon {

inline constexpr const wchar_t* kPicBackground = L"PIC_BG";
inline constexpr const wchar_t* kPicLogo = L"PIC_LOGO";
inline constexpr const wchar_t* kPicCloseNormal = L"PIC_CLOSE_NORMAL";
inline constexpr const wchar_t* kPicCloseHighlight = L"PIC_CLOSE_HIGHLIGHT";
inline constexpr const wchar_t* kPicCloseDown = L"PIC_CLOSE_DOWN";
inline constexpr const wchar_t* kPicMiniNormal = L"PIC_MINI_NORMAL";
inline constexpr const wchar_t* kPicMiniHighlight = L"PIC_MINI_HIGHLIGHT";
inline constexpr const wchar_t* kPicMiniDown = L"PIC_MINI_DOWN";
inline constexpr const wchar_t* kPicAppToDesk = L"PIC_APPTODESK";
inline constexpr const wchar_t* kPicAddToDesk = L"PIC_ADDTODESK";

} // namespace tabulon
