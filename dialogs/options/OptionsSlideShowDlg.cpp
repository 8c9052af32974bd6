#include "dialogs/options/OptionsSlideShowDlg.h"

void OptionsSlideShowDlg::InitControls() { SetSpinRange(IDC_SLIDESHOW_DELAY_SPIN, 1, 100); }

void OptionsSlideShowDlg::Load(ProgramSettings& settings) {
    ::SetDlgItemInt(m_hWnd, IDC_SLIDESHOW_DELAY, static_cast<UINT>(settings.SlideShowInterval), TRUE);
    SetItemChecked(m_hWnd, IDC_SLIDESHOW_EFFECTS, settings.UseEffects);
    SetItemChecked(m_hWnd, IDC_SLIDESHOW_EFFECTS_SLIDESHOW_ONLY, settings.UseEffectsInSlideshowOnly);
    SetItemChecked(m_hWnd, IDC_SLIDESHOW_RANDOM, settings.UseRandomEffects);
    EnableEffectOptions();
}

void OptionsSlideShowDlg::Save(ProgramSettings& settings) {
    settings.SlideShowInterval = GetItemNumber(m_hWnd, IDC_SLIDESHOW_DELAY);
    settings.UseEffects = IsItemChecked(m_hWnd, IDC_SLIDESHOW_EFFECTS);
    settings.UseEffectsInSlideshowOnly = IsItemChecked(m_hWnd, IDC_SLIDESHOW_EFFECTS_SLIDESHOW_ONLY);
    settings.UseRandomEffects = IsItemChecked(m_hWnd, IDC_SLIDESHOW_RANDOM);
}

bool OptionsSlideShowDlg::Validate() {
    if (GetItemNumber(m_hWnd, IDC_SLIDESHOW_DELAY) <= 0) return FailValidation(IDS_SLIDESHOW_DELAY_INVALID);
    return true;
}

void OptionsSlideShowDlg::EnableEffectOptions() {
    const bool effects = IsItemChecked(m_hWnd, IDC_SLIDESHOW_EFFECTS);
    EnableItem(m_hWnd, IDC_SLIDESHOW_EFFECTS_SLIDESHOW_ONLY, effects);
    EnableItem(m_hWnd, IDC_SLIDESHOW_RANDOM, effects);
}

LRESULT OptionsSlideShowDlg::OnUseEffectsClicked(WORD, WORD, HWND, BOOL&) {
    EnableEffectOptions();
    return 0;
}
