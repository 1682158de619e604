#pragma once
// How the printer dialog looks: its fonts, brushes and colours, and the drawing of its
// owner-drawn printer cards and buttons. Windows only.

#include <windows.h>

#include "print/printer_order.h"

namespace printer_dialog {

constexpr COLORREF kDialogBackground = RGB(0x14, 0x15, 0x19);
constexpr COLORREF kListBackground = RGB(0x1C, 0x1E, 0x24);
constexpr COLORREF kListText = RGB(0xE6, 0xEB, 0xF0);
constexpr COLORREF kStaticText = RGB(0xF0, 0xF2, 0xF5);

// The GDI objects of one dialog: created when it opens, deleted when it is destroyed.
struct Palette {
  HFONT heading = nullptr;
  HFONT body = nullptr;
  HFONT emphasis = nullptr;
  HFONT badge = nullptr;
  HBRUSH dialog = nullptr;
  HBRUSH list = nullptr;
};

Palette CreatePalette();
// Deletes what CreatePalette made and leaves null handles behind.
void DeletePalette(Palette& palette);

// One printer in the list as a card: highlighted when selected, with a badge when it is
// the default printer.
void DrawPrinterCard(const DRAWITEMSTRUCT& item, const PrinterInfo& printer,
                     const Palette& palette);

// The Print button (primary) or the Cancel button, pressed or not.
void DrawButton(const DRAWITEMSTRUCT& item, bool primary, const Palette& palette);

}  // namespace printer_dialog
