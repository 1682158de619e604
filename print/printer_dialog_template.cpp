#include "print/printer_dialog_template.h"

#include <cstring>
#include <iterator>
#include <string_view>

namespace printer_dialog {

namespace {

// Predefined window classes, named in a template by these atoms.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;

constexpr DWORD kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
constexpr DWORD kPromptStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                             LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
constexpr DWORD kEmptyMessageStyle = WS_CHILD | SS_CENTER;  // shown only for an empty list
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
static_assert(kDialogStyle == 0x80C808C0 && kListStyle == 0x50210051 &&
              kEmptyMessageStyle == 0x40000001 && kButtonStyle == 0x5001000B);

// Writes the template's WORD stream; items start on DWORD boundaries as the dialog
// manager requires.
class TemplateWriter {
 public:
  void Word(WORD value) { words_.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Text(std::wstring_view text) {
    for (wchar_t c : text) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Box(short x, short y, short width, short height) {
    for (short value : {x, y, width, height}) Word(static_cast<WORD>(value));
  }
  void AlignToDword() {
    if (words_.size() % 2 != 0) Word(0);
  }

  void Item(WORD windowClass, int id, short x, short y, short width, short height, DWORD style,
            std::wstring_view text) {
    AlignToDword();
    Dword(style);
    Dword(0);  // no extended style
    Box(x, y, width, height);
    Word(static_cast<WORD>(id));
    Word(0xFFFF);  // a predefined class by atom follows
    Word(windowClass);
    Text(text);
    Word(0);  // no creation data
  }

  std::vector<DWORD> Finish() {
    AlignToDword();
    std::vector<DWORD> storage(words_.size() / 2);
    std::memcpy(storage.data(), words_.data(), words_.size() * sizeof(WORD));
    return storage;
  }

 private:
  std::vector<WORD> words_;
};

}  // namespace

std::vector<DWORD> BuildTemplate() {
  struct ItemSpec {
    WORD windowClass;
    int id;
    short x, y, width, height;
    DWORD style;
    const wchar_t* text;
  };
  static constexpr ItemSpec kItems[] = {
      {kStaticClass, kPromptId, 12, 10, 256, 16, kPromptStyle,
       L"Choose the printer for this page:"},
      {kListBoxClass, kListId, 12, 30, 256, 135, kListStyle, L""},
      {kStaticClass, kEmptyMessageId, 12, 60, 256, 40, kEmptyMessageStyle,
       L"No printer was found.\nConnect a printer to this computer and try again."},
      {kButtonClass, kPrintId, 124, 174, 70, 24, kButtonStyle, L"Print"},
      {kButtonClass, kCancelId, 198, 174, 70, 24, kButtonStyle, L"Cancel"},
  };

  TemplateWriter out;
  out.Dword(kDialogStyle);
  out.Dword(0);  // no extended style
  out.Word(static_cast<WORD>(std::size(kItems)));
  out.Box(0, 0, 280, 210);
  out.Word(0);  // no menu
  out.Word(0);  // the default dialog class
  out.Text(L"Select Printer");
  out.Word(10);  // point size of the font
  out.Text(L"Segoe UI");
  for (const ItemSpec& item : kItems) {
    out.Item(item.windowClass, item.id, item.x, item.y, item.width, item.height, item.style,
             item.text);
  }
  return out.Finish();
}

}  // namespace printer_dialog
