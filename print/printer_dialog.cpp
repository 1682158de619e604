#include "print/printer_dialog.h"

#include <dwmapi.h>

#include <utility>

#include "common/wide_text.h"
#include "print/printer_dialog_style.h"
#include "print/printer_dialog_template.h"
#include "print/printer_list.h"

namespace printer_dialog {
namespace {

// Desktop Window Manager attributes, by number: older SDK headers lack the names, and
// systems before Windows 10 20H1 know the dark title bar only under number 19.
constexpr DWORD kDarkTitleBar = 20;
constexpr DWORD kDarkTitleBarBefore20H1 = 19;
constexpr DWORD kCornerPreference = 33;
constexpr DWORD kRoundCorners = 2;

constexpr UINT kItemHeight = 44;
constexpr INT_PTR kChosen = 1;
constexpr INT_PTR kCancelled = 2;

// Handed to the dialog as its creation parameter and kept in its user data.
struct DialogState {
  std::vector<PrinterInfo> printers;
  std::wstring result;
  Palette palette;
  PrinterDialogShown shown;
};

DialogState* StateOf(HWND dialog) {
  return reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

void CentreOnPrimaryScreen(HWND dialog) {
  RECT frame;
  if (!GetWindowRect(dialog, &frame)) return;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RequestDarkFrame(HWND dialog) {
  const BOOL dark = TRUE;
  if (FAILED(DwmSetWindowAttribute(dialog, kDarkTitleBar, &dark, sizeof dark))) {
    DwmSetWindowAttribute(dialog, kDarkTitleBarBefore20H1, &dark, sizeof dark);
  }
  const DWORD corners = kRoundCorners;
  DwmSetWindowAttribute(dialog, kCornerPreference, &corners, sizeof corners);
}

// Returns what WM_INITDIALOG returns: whether the dialog manager should set the focus.
BOOL Initialise(HWND dialog, DialogState& state) {
  SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  CentreOnPrimaryScreen(dialog);
  RequestDarkFrame(dialog);
  state.palette = CreatePalette();
  SendDlgItemMessageW(dialog, kPromptId, WM_SETFONT,
                      reinterpret_cast<WPARAM>(state.palette.heading), FALSE);
  SendDlgItemMessageW(dialog, kEmptyMessageId, WM_SETFONT,
                      reinterpret_cast<WPARAM>(state.palette.body), FALSE);

  const HWND list = GetDlgItem(dialog, kListId);
  if (state.printers.empty()) {
    ShowWindow(list, SW_HIDE);
    ShowWindow(GetDlgItem(dialog, kPrintId), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, kEmptyMessageId), SW_SHOW);
    // The focus would otherwise stay on the hidden list.
    SetFocus(GetDlgItem(dialog, kCancelId));
    if (state.shown) state.shown(dialog);
    return FALSE;
  }
  ShowWindow(GetDlgItem(dialog, kEmptyMessageId), SW_HIDE);
  for (const PrinterInfo& printer : state.printers) {
    const std::wstring name = ToWide(printer.name);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  if (state.shown) state.shown(dialog);
  return TRUE;
}

void PrintToSelection(HWND dialog, DialogState& state) {
  const LRESULT index = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= state.printers.size()) return;
  state.result = ToWide(state.printers[static_cast<size_t>(index)].name);
  EndDialog(dialog, kChosen);
}

void Cancel(HWND dialog, DialogState& state) {
  state.result.clear();
  EndDialog(dialog, kCancelled);
}

INT_PTR Colours(HDC dc, COLORREF text, COLORREF background, HBRUSH brush) {
  SetTextColor(dc, text);
  SetBkColor(dc, background);
  return reinterpret_cast<INT_PTR>(brush);
}

INT_PTR CALLBACK PrinterDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    return Initialise(dialog, *reinterpret_cast<DialogState*>(lParam));
  }
  if (message == WM_MEASUREITEM) {
    // Arrives while the list is created, before WM_INITDIALOG: it needs no state.
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlID != static_cast<UINT>(kListId)) return FALSE;
    measure->itemHeight = kItemHeight;
    return TRUE;
  }
  DialogState* state = StateOf(dialog);
  if (state == nullptr) return FALSE;

  switch (message) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID == static_cast<UINT>(kListId)) {
        if (item.itemID < state->printers.size()) {
          DrawPrinterCard(item, state->printers[item.itemID], state->palette);
        }
      } else if (item.CtlID == static_cast<UINT>(kPrintId) ||
                 item.CtlID == static_cast<UINT>(kCancelId)) {
        DrawButton(item, item.CtlID == static_cast<UINT>(kPrintId), state->palette);
      } else {
        return FALSE;
      }
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
      if (state->palette.list == nullptr) return FALSE;
      return Colours(reinterpret_cast<HDC>(wParam), kListText, kListBackground,
                     state->palette.list);
    case WM_CTLCOLORSTATIC:
      if (state->palette.dialog == nullptr) return FALSE;
      return Colours(reinterpret_cast<HDC>(wParam), kStaticText, kDialogBackground,
                     state->palette.dialog);
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(state->palette.dialog);
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if ((id == kPrintId && code == BN_CLICKED) || (id == kListId && code == LBN_DBLCLK)) {
        PrintToSelection(dialog, *state);
      } else if ((id == kCancelId && code == BN_CLICKED) || id == IDCANCEL) {
        Cancel(dialog, *state);
      } else {
        return FALSE;
      }
      return TRUE;
    }
    case WM_DESTROY:
      DeletePalette(state->palette);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace
}  // namespace printer_dialog

std::wstring SelectPrinterFrom(HWND owner, std::vector<PrinterInfo> printers,
                               const PrinterDialogShown& shown) {
  printer_dialog::DialogState state;
  state.printers = std::move(printers);
  state.shown = shown;
  const std::vector<DWORD> layout = printer_dialog::BuildTemplate();
  const INT_PTR ended = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(layout.data()), owner,
      printer_dialog::PrinterDialogProc, reinterpret_cast<LPARAM>(&state));
  // -1 or 0 when the dialog could not be made: nothing was chosen.
  return ended == printer_dialog::kChosen ? state.result : std::wstring();
}

std::wstring SelectPrinter(HWND owner, const PrinterDialogShown& shown) {
  return SelectPrinterFrom(owner, EnumerateInstalledPrinters(), shown);
}
