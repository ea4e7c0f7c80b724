#include "DocumentSoundPlayer.h"

#include "CTickwellDoc.h"
#include "MessagePresenter.h"
#include "ScheduleEntry.h"

namespace {

constexpr int kBeepHz = 100;
constexpr int kBeepMs = 500;

} // namespace

DocumentSoundPlayer::DocumentSoundPlayer(CTickwellDoc &doc, MessagePresenter &messages)
    : m_doc(doc)
    , m_messages(messages)
    , m_wave(messages)
{
    m_doc.mciOpenParms = &m_wave;
}

DocumentSoundPlayer::~DocumentSoundPlayer()
{
    if (m_doc.mciOpenParms == &m_wave) {
        m_doc.mciOpenParms = nullptr;
        m_doc.bDeviceOpen = 0;
    }
}

void DocumentSoundPlayer::PlayEntrySound(int index)
{
    if (index < 0 || index >= ScheduleTable::kSize)
        return;
    const ScheduleEntry &entry = m_doc.schedules[index];
    if (entry.sound == ScheduleEntry::Beep) {
        m_tone.play(kBeepHz, kBeepMs);
        return;
    }
    if (entry.sound != ScheduleEntry::WaveFile)
        return;
    // Copied: the message boxes below run the event loop, and with it the
    // monitor, which may change the table.
    const QString path = entry.waveFilePath;
    if (m_doc.bDeviceOpen == 1)
        CloseWaveDevice();
    if (!m_wave.open(path)) {
        m_messages.ShowMessage(
            QStringLiteral("wavファイルのパスが見当たりません。"), MessagePresenter::Icon::None);
        return;
    }
    m_doc.bDeviceOpen = 1;
    // A failure is shown; the file stays open until the next WAV or a new
    // document closes it.
    m_wave.play();
}

void DocumentSoundPlayer::CloseWaveDevice()
{
    m_wave.close();
    m_doc.bDeviceOpen = 0;
}
