#include "CQuilletAudioPage.h"

#include "CClientSettings.h"
#include "CDlgAudioConfig.h"
#include "CQuilletAudio.h"
#include "CSettingsHost.h"
#include "CUserTable.h"
#include "SettingsControls.h"
#include "SettingsResource.h"

using namespace settingsui;

CQuilletAudioPage::CQuilletAudioPage(const RAVOTM_FUNCTIONS& ravotm, CQuilletAudio& audio,
                                     CClientSettings& settings, std::function<bool()> startDevices)
    : m_ravotm(ravotm), m_audio(audio), m_settings(settings),
      m_startDevices(std::move(startDevices))
{}

void CQuilletAudioPage::InitPage(CDlgAudioConfig& page)
{
    // Only the hidden level slider: the lists are filled when the page is shown.
    const int levels = m_ravotm.D_G_GetFECTypeCount();
    SliderRange(&page, IDC_AUDIO_FEC_SLIDER, 0, levels > 0 ? levels - 1 : 0);
}

void CQuilletAudioPage::FillList(CDlgAudioConfig& page, int id, PFN_List list, DWORD* stored)
{
    ListReset(&page, id);
    CStringList names(10);
    list(&names);
    int index = 0;
    for (POSITION pos = names.GetHeadPosition(); pos;)
        ListAdd(&page, id, names.GetNext(pos), index++);
    if (ListCount(&page, id) > 0 && !ListSelectData(&page, id, static_cast<int>(*stored))) {
        ListSetSel(&page, id, 0);
        *stored = 0;
    }
}

void CQuilletAudioPage::Refresh(CDlgAudioConfig& page)
{
    if (!page.m_hWnd)
        return;
    SetChecked(&page, IDC_AUDIO_ASC, m_settings.asc != 0);
    SetChecked(&page, IDC_AUDIO_PLAY_LOCAL, m_settings.playLocal != 0);
    SetChecked(&page, IDC_AUDIO_DENOISE_CHECK, m_settings.denoise != 0);
    SetChecked(&page, IDC_AUDIO_AEC, m_settings.aec != 0);
    SetChecked(&page, IDC_AUDIO_AGC_CHECK, m_settings.agc != 0);
    SliderSetPos(&page, IDC_AUDIO_FEC_SLIDER, static_cast<int>(m_settings.fecType));
    const bool automatic = m_settings.autoFec != 0;
    SetChecked(&page, IDC_AUDIO_FEC_AUTO, automatic);
    SetChecked(&page, IDC_AUDIO_FEC_MANUAL, !automatic);
    int delay = -1;
    if (automatic)
        delay = 0;
    else if (m_settings.fecType <= 2)
        delay = static_cast<int>(m_settings.fecType) + 1;
    ListSetSel(&page, IDC_AUDIO_DELAY_LIST, delay);
    EnableItem(&page, IDC_AUDIO_FEC_SLIDER, !automatic);
    EnableItem(&page, IDC_AUDIO_FEC_LABEL, !automatic);

    FillList(page, IDC_AUDIO_PLAY_LIST, m_ravotm.D_G_GetPlayDevices, &m_settings.audioPlay);
    FillList(page, IDC_AUDIO_CAPTURE_LIST, m_ravotm.D_G_GetCapDevices, &m_settings.audioCapture);
    DWORD format = m_settings.audioFormat;
    FillList(page, IDC_AUDIO_FORMAT_LIST, m_ravotm.D_G_GetCapFormats, &format);
    m_settings.audioFormat = static_cast<BYTE>(format);
}

namespace {
// A hidden switch over a stored level: the level stays while the box shows
// it as on (or off), a changed box gives 1 or 0.
DWORD SwitchedLevel(CWnd* page, int id, DWORD stored)
{
    const bool on = Checked(page, id);
    if (on == (stored != 0))
        return stored;
    return on ? 1 : 0;
}
} // namespace

BOOL CQuilletAudioPage::Apply(CDlgAudioConfig& page)
{
    CSettingsHost* host = GetSettingsHost();
    BOOL hasAudio = host->Users().HasAudio(host->OwnId()) ? TRUE : FALSE;
    if (!page.m_hWnd)
        return hasAudio;

    // A list without entries keeps its stored index; one without a selection counts as 0.
    DWORD play = m_settings.audioPlay;
    if (ListCount(&page, IDC_AUDIO_PLAY_LIST) > 0)
        play = static_cast<DWORD>(ListSelData(&page, IDC_AUDIO_PLAY_LIST, 0));
    DWORD capture = m_settings.audioCapture;
    if (ListCount(&page, IDC_AUDIO_CAPTURE_LIST) > 0)
        capture = static_cast<DWORD>(ListSelData(&page, IDC_AUDIO_CAPTURE_LIST, 0));
    BYTE format = m_settings.audioFormat;
    if (ListCount(&page, IDC_AUDIO_FORMAT_LIST) > 0)
        format = static_cast<BYTE>(ListSelData(&page, IDC_AUDIO_FORMAT_LIST, 0));
    const DWORD playLocal = Checked(&page, IDC_AUDIO_PLAY_LOCAL) ? 1 : 0;
    const DWORD denoise = SwitchedLevel(&page, IDC_AUDIO_DENOISE_CHECK, m_settings.denoise);
    const DWORD agc = SwitchedLevel(&page, IDC_AUDIO_AGC_CHECK, m_settings.agc);
    const DWORD aec = Checked(&page, IDC_AUDIO_AEC) ? 1 : 0;

    DWORD level = m_settings.fecType;
    DWORD automatic = 1;
    const int delay = ListSel(&page, IDC_AUDIO_DELAY_LIST);
    if (delay >= 1 && delay <= 3) {
        level = static_cast<DWORD>(delay - 1);
        automatic = 0;
    } else if (delay < 0) {
        level = static_cast<DWORD>(SliderPos(&page, IDC_AUDIO_FEC_SLIDER));
        automatic = 0;
    }

    if (play != m_settings.audioPlay) {
        m_settings.audioPlay = play;
        m_audio.RestartPlay();
    }
    if (capture != m_settings.audioCapture || format != m_settings.audioFormat) {
        m_settings.audioCapture = capture;
        m_settings.audioFormat = format;
        hasAudio = m_audio.RestartCapture() ? TRUE : FALSE;
    }
    if (denoise != m_settings.denoise) {
        m_settings.denoise = denoise;
        m_ravotm.D_G_SetDeNoise(static_cast<int>(denoise));
    }
    if (playLocal != m_settings.playLocal) {
        m_settings.playLocal = playLocal;
        m_ravotm.D_G_SetPlayLocal(static_cast<int>(playLocal));
    }
    if (level != m_settings.fecType || automatic != m_settings.autoFec) {
        m_settings.fecType = level;
        m_settings.autoFec = automatic;
        m_ravotm.D_G_SetFECType(static_cast<int>(level), static_cast<int>(automatic));
    }
    m_ravotm.D_G_SetASC(static_cast<int>(m_settings.asc));
    if (aec != m_settings.aec) {
        m_settings.aec = aec;
        m_ravotm.D_G_SetAEC(static_cast<int>(aec));
    }
    if (agc != m_settings.agc) {
        m_settings.agc = agc;
        m_ravotm.D_G_SetAGC(agc ? 1 : 0);
    }
    return hasAudio;
}

BOOL CQuilletAudioPage::InitAudio(CDlgAudioConfig&)
{
    return m_startDevices && m_startDevices() ? TRUE : FALSE;
}
