#include "TrayIcon.h"

#include "AppIcon.h"

#include <QImage>
#include <QTimer>

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <iterator>

namespace {

// The icon's mouse messages come to a hidden window of the icon's own as
// this message, with the mouse message in lParam.
constexpr UINT kTrayMessage = WM_USER + 100;
// Posted to the same window to show the menu once the icon's message has
// been answered.
constexpr UINT kShowMenuMessage = WM_USER + 101;
// The installer and the uninstaller find a running copy by this class.
constexpr wchar_t kWindowClass[] = L"TickwellTrayIconWindow";

enum MenuCommand : UINT { Settings = 1, About, Close };

} // namespace

// The shell's notification-area icon (Shell_NotifyIconW, the classic
// callback that names the mouse message itself). A left or right press shows
// the menu at the pointer: a small menu of the system's own, shown with
// TrackPopupMenu after the icon's window came to the foreground, so that a
// click anywhere else closes it. The menu for a left press waits for the
// double-click time, so that the second click of a double-click, which
// opens the settings, is not taken by the menu. When the taskbar is made
// anew (Explorer restarted), the icon is added again.
struct TrayIcon::Impl
{
    explicit Impl(TrayIcon &owner);
    ~Impl();

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onIconMessage(UINT mouseMessage);
    void showMenu(POINT at);
    bool add();

    TrayIcon &q;
    HWND window = nullptr;
    HICON icon = nullptr;
    UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    bool shown = false;
    bool removed = false;
    QTimer menuDelay;
    POINT pressedAt{};
};

TrayIcon::Impl::Impl(TrayIcon &owner)
    : q(owner)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Impl::windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    // Registered once per process; a second registration fails harmlessly.
    ::RegisterClassExW(&windowClass);
    // A hidden top-level window, not a message-only one: only top-level
    // windows hear that the taskbar was made anew.
    window = ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Tickwell", WS_POPUP, 0, 0, 0, 0, nullptr,
        nullptr, instance, nullptr);
    if (window)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    // Icon 128 of the program's own resources, at the small icon size;
    // drawn from the icon the windows carry should it be missing.
    const int side = ::GetSystemMetrics(SM_CXSMICON) > 0 ? ::GetSystemMetrics(SM_CXSMICON) : 16;
    icon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(128), IMAGE_ICON, side, side, 0));
    if (!icon)
        icon = appIcon().pixmap(side).toImage().toHICON();

    menuDelay.setSingleShot(true);
    QObject::connect(&menuDelay, &QTimer::timeout, &q, [this] { showMenu(pressedAt); });
}

TrayIcon::Impl::~Impl()
{
    if (window) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        ::DestroyWindow(window);
    }
    if (icon)
        ::DestroyIcon(icon);
}

bool TrayIcon::Impl::add()
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon;
    std::wcsncpy(data.szTip, L"Tickwell", std::size(data.szTip) - 1);
    return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

LRESULT CALLBACK TrayIcon::Impl::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<Impl *>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self) {
        if (message == kTrayMessage) {
            self->onIconMessage(static_cast<UINT>(lParam));
            return 0;
        }
        if (message == kShowMenuMessage) {
            self->showMenu(POINT{static_cast<LONG>(static_cast<short>(LOWORD(lParam))),
                static_cast<LONG>(static_cast<short>(HIWORD(lParam)))});
            return 0;
        }
        // Sent by the uninstaller to end a running copy: the program ends
        // as with "閉じる", with its exit save, whatever dialog is open.
        if (message == WM_CLOSE) {
            emit self->q.closeRequested();
            return 0;
        }
        if (message == self->taskbarCreated && self->shown) {
            self->add();
            return 0;
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void TrayIcon::Impl::onIconMessage(UINT mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        ::GetCursorPos(&pressedAt);
        menuDelay.start(static_cast<int>(::GetDoubleClickTime()));
        break;
    case WM_RBUTTONDOWN: {
        menuDelay.stop();
        POINT at{};
        ::GetCursorPos(&at);
        // Shown after this message has been answered.
        ::PostMessageW(window, kShowMenuMessage, 0, MAKELPARAM(at.x, at.y));
        break;
    }
    case WM_LBUTTONDBLCLK:
        // The menu the first press was waiting to show never appears.
        menuDelay.stop();
        emit q.settingsRequested();
        break;
    default:
        // Moves, releases, the middle button: nothing.
        break;
    }
}

void TrayIcon::Impl::showMenu(POINT at)
{
    if (!shown)
        return;
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return;
    ::AppendMenuW(menu, MF_STRING, Settings, L"設定");
    ::AppendMenuW(menu, MF_STRING, About, L"Tikwellについて");
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, Close, L"閉じる");
    // The menu closes on a click elsewhere only when its window is in the
    // foreground; the message after it lets the menu go for good.
    ::SetForegroundWindow(window);
    const auto chosen = static_cast<UINT>(::TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    ::PostMessageW(window, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    switch (chosen) {
    case Settings:
        emit q.settingsRequested();
        break;
    case About:
        emit q.aboutRequested();
        break;
    case Close:
        emit q.closeRequested();
        break;
    default:
        break;
    }
}

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>(*this))
{
}

TrayIcon::~TrayIcon()
{
    remove();
}

void TrayIcon::show()
{
    if (m_impl->shown || m_impl->removed || !m_impl->window)
        return;
    m_impl->shown = true;
    // Should there be no taskbar yet (a start at logon), the icon is added
    // when it comes.
    m_impl->add();
}

void TrayIcon::remove()
{
    Impl &d = *m_impl;
    d.menuDelay.stop();
    d.removed = true;
    if (!d.shown)
        return;
    d.shown = false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = d.window;
    data.uID = 0;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

bool TrayIcon::trayAvailable()
{
    // Windows always has its notification area.
    return true;
}
