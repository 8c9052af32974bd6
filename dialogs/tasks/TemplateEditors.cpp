#include "dialogs/tasks/TemplateEditors.h"
#include <cstring>
#include "dialogs/common/DialogTexts.h"
#include "dialogs/tasks/CharTemplateDlg.h"
#include "dialogs/tasks/NumberTemplateDlg.h"
#include "dialogs/tasks/StringTemplateDlg.h"
#include "framework/UserPrompts.h"
#include "resources/app_ids.h"

bool EditTemplate(HWND owner, TemplateBase& generator) {
    const char* kind = generator.GetTypeName();
    if (std::strcmp(kind, NumberTemplate::kTypeName) == 0) {
        NumberTemplateDlg dialog(static_cast<NumberTemplate&>(generator));
        return dialog.DoModal(owner) == IDOK;
    }
    if (std::strcmp(kind, CharTemplate::kTypeName) == 0) {
        CharTemplateDlg dialog(static_cast<CharTemplate&>(generator));
        return dialog.DoModal(owner) == IDOK;
    }
    if (std::strcmp(kind, StringTemplate::kTypeName) == 0) {
        StringTemplateDlg dialog(static_cast<StringTemplate&>(generator));
        return dialog.DoModal(owner) == IDOK;
    }
    return false;
}

void ShowTemplateWarning(HWND owner, unsigned textId) {
    UserPrompts().MessageBox(owner, LocalText(textId), LocalText(IDS_CAPTION_ERROR), MB_ICONWARNING);
}
