#pragma once
// The fixed numbers by which the program addresses its window objects. The
// scan reaches the status line, the drive list and the tray icon by them.

namespace app {

inline constexpr int mainWindow = 10;

inline constexpr int ctlClose = 16;
inline constexpr int ctlVersion = 19;
inline constexpr int ctlPage = 20;
inline constexpr int ctlTitle = 25;
inline constexpr int ctlRule = 26;
inline constexpr int ctlStatus = 27;
inline constexpr int ctlDriveList = 28;
inline constexpr int ctlIcon = 29;
inline constexpr int ctlRefresh = 30;
inline constexpr int ctlFooter = 31;

inline constexpr int trayIcon = 34;
inline constexpr int wakeTimer = 35;

inline constexpr int trayMenu = 0;
inline constexpr int menuWeb = 1;
inline constexpr int menuRefresh = 2;
inline constexpr int menuExit = 3;

}  // namespace app
