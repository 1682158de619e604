#include "print/printer_dialog_style.h"

#include "common/wide_text.h"

namespace printer_dialog {

namespace {

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBlue = RGB(0x25, 0x63, 0xEB);
constexpr COLORREF kLightBlue = RGB(0x3B, 0x82, 0xF6);
constexpr COLORREF kDarkBlue = RGB(0x1D, 0x4E, 0xD8);
constexpr COLORREF kCard = RGB(0x22, 0x25, 0x2D);
constexpr COLORREF kCardBorder = RGB(0x2E, 0x32, 0x3E);
constexpr COLORREF kCardText = RGB(0xE1, 0xE6, 0xF0);
constexpr COLORREF kCancelFill = RGB(0x2D, 0x30, 0x3A);
constexpr COLORREF kCancelBorder = RGB(0x3C, 0x40, 0x4C);
constexpr COLORREF kCancelPressedFill = RGB(0x23, 0x25, 0x2D);
constexpr COLORREF kCancelText = RGB(0xD2, 0xD7, 0xE1);

constexpr int kBadgeWidth = 60;
constexpr int kBadgeHeight = 20;
constexpr int kBadgeInset = 10;  // from the card's right edge

HFONT SegoeUi(int height, int weight) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
}

// A rounded rectangle filled with `fill`, outlined with a 1-pixel `border`, or without
// an outline when `border` is null.
void RoundedBox(HDC dc, const RECT& box, int corner, COLORREF fill, const COLORREF* border) {
  const HBRUSH brush = CreateSolidBrush(fill);
  const HPEN pen = border != nullptr ? CreatePen(PS_SOLID, 1, *border) : nullptr;
  const int saved = SaveDC(dc);
  SelectObject(dc, brush);
  SelectObject(dc, pen != nullptr ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
  // Without a pen the filled shape stops a pixel short on the right and bottom.
  const int extra = pen != nullptr ? 0 : 1;
  RoundRect(dc, box.left, box.top, box.right + extra, box.bottom + extra, corner, corner);
  RestoreDC(dc, saved);
  if (pen != nullptr) DeleteObject(pen);
  DeleteObject(brush);
}

void Text(HDC dc, const wchar_t* text, RECT box, HFONT font, COLORREF color, UINT format) {
  const int saved = SaveDC(dc);
  SelectObject(dc, font);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  // Printer names may contain '&', which is not a mnemonic here.
  DrawTextW(dc, text, -1, &box, format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  RestoreDC(dc, saved);
}

}  // namespace

Palette CreatePalette() {
  Palette palette;
  palette.heading = SegoeUi(-15, FW_BOLD);
  palette.body = SegoeUi(-13, FW_NORMAL);
  palette.emphasis = SegoeUi(-13, FW_SEMIBOLD);
  palette.badge = SegoeUi(-10, FW_BOLD);
  palette.dialog = CreateSolidBrush(kDialogBackground);
  palette.list = CreateSolidBrush(kListBackground);
  return palette;
}

void DeletePalette(Palette& palette) {
  for (HGDIOBJ object :
       {static_cast<HGDIOBJ>(palette.heading), static_cast<HGDIOBJ>(palette.body),
        static_cast<HGDIOBJ>(palette.emphasis), static_cast<HGDIOBJ>(palette.badge),
        static_cast<HGDIOBJ>(palette.dialog), static_cast<HGDIOBJ>(palette.list)}) {
    if (object != nullptr) DeleteObject(object);
  }
  palette = Palette{};
}

void DrawPrinterCard(const DRAWITEMSTRUCT& item, const PrinterInfo& printer,
                     const Palette& palette) {
  const HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, palette.list);
  RECT card = item.rcItem;
  InflateRect(&card, -4, -3);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF border = selected ? kLightBlue : kCardBorder;
  RoundedBox(dc, card, 8, selected ? kBlue : kCard, &border);

  const std::wstring name = ToWide(printer.name);
  const RECT nameBox = {card.left + 12, card.top, card.right - (printer.isDefault ? 75 : 10),
                        card.bottom};
  Text(dc, name.c_str(), nameBox, selected ? palette.emphasis : palette.body,
       selected ? kWhite : kCardText, DT_LEFT | DT_END_ELLIPSIS);

  if (printer.isDefault) {
    RECT badge;
    badge.right = card.right - kBadgeInset;
    badge.left = badge.right - kBadgeWidth;
    badge.top = card.top + (card.bottom - card.top - kBadgeHeight) / 2;
    badge.bottom = badge.top + kBadgeHeight;
    RoundedBox(dc, badge, 10, selected ? kWhite : kLightBlue, nullptr);
    Text(dc, L"DEFAULT", badge, palette.badge, selected ? kBlue : kWhite, DT_CENTER);
  }
}

void DrawButton(const DRAWITEMSTRUCT& item, bool primary, const Palette& palette) {
  const HDC dc = item.hDC;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  COLORREF fill, border;
  if (primary) {
    fill = pressed ? kDarkBlue : kBlue;
    border = pressed ? kDarkBlue : kLightBlue;
  } else {
    fill = pressed ? kCancelPressedFill : kCancelFill;
    border = pressed ? kCancelFill : kCancelBorder;
  }
  // The corners outside the rounded shape show the dialog behind the button.
  FillRect(dc, &item.rcItem, palette.dialog);
  RoundedBox(dc, item.rcItem, 8, fill, &border);

  wchar_t caption[65] = {};  // up to 64 characters
  GetWindowTextW(item.hwndItem, caption, ARRAYSIZE(caption));
  Text(dc, caption, item.rcItem, palette.emphasis, primary ? kWhite : kCancelText, DT_CENTER);
}

}  // namespace printer_dialog
