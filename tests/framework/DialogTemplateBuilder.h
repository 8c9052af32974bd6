#pragma once
// Builds dialog templates in memory, so tests make real dialogs without a resource script.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class DialogTemplateBuilder {
public:
    DialogTemplateBuilder(const std::string& caption, DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT,
                          short cx = 200, short cy = 120) {
        DLGTEMPLATE header = {};
        header.style = style;
        header.cx = cx;
        header.cy = cy;
        Append(&header, sizeof(header));
        AppendWord(0);  // no menu
        AppendWord(0);  // standard dialog class
        AppendText(caption);
        if (style & DS_SETFONT) {
            AppendWord(8);
            AppendText("MS Shell Dlg");
        }
    }

    // classAtom: 0x0080 button, 0x0081 edit, 0x0082 static, 0x0083 list box, 0x0085 combo box.
    DialogTemplateBuilder& AddControl(WORD classAtom, WORD id, const std::string& text, DWORD style,
                                      short x = 5, short y = 5, short cx = 60, short cy = 12) {
        Align(4);
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof(item));
        AppendWord(0xFFFF);
        AppendWord(classAtom);
        AppendText(text);
        AppendWord(0);  // no creation data
        ++count_;
        reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit = count_;
        return *this;
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Append(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void AppendWord(WORD w) { Append(&w, sizeof(w)); }
    void AppendText(const std::string& text) {
        for (unsigned char c : text) AppendWord(c);  // the tests use ASCII texts only
        AppendWord(0);
    }
    void Align(size_t n) {
        while (bytes_.size() % n) bytes_.push_back(0);
    }

    // Heap storage starts suitably aligned; templates must start on a DWORD boundary.
    std::vector<uint8_t> bytes_;
    WORD count_ = 0;
};

}  // namespace testsupport
