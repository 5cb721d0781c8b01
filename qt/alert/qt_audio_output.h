#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "core/alert/alert_sounds.h"
#include "core/platform/audio_output.h"

class QAudioSink;
class QBuffer;

namespace qfd {

// The alert sounds of the Qt front end, ready to use: the four built-in WAV images played on the
// default audio output. Create exactly one, after the QApplication, and keep it for the whole run;
// the alert window and the options dialog both play through it, so the stop and no-stop rules
// span both:
//
//     QApplication app(argc, argv);
//     std::unique_ptr<qfd::AlertSounds> sounds = qfd::CreateQtAlertSounds();
//     ...
//     qfd::RunAlertWindow(mainWindow, mirror, *sounds);
//
// Without an audio device (no sound server), or without the audio module beside the program,
// every request returns 0 and nothing else happens.
std::unique_ptr<AlertSounds> CreateQtAlertSounds();

// The default audio output alone (the alert sounds above are built on it). It plays through the
// audio module, loaded on the first sound from module (by default kAudioModuleName in the
// program's folder), so that Qt Multimedia and the sound server's client stay out of a program
// that never plays a sound.
std::unique_ptr<AudioOutput> CreateQtAudioOutput(const QString& module = {});

// The audio module's file, beside the program, and the one function it exports.
inline constexpr char kAudioModuleName[] = "qfd_audio.so";
inline constexpr char kAudioModuleEntry[] = "QfdCreateAudioOutput";
using AudioModuleEntry = AudioOutput* (*)();

// Plays a PCM image through QAudioSink; built into the audio module only. The sink reports idle
// once it has handed its last bytes to the sound server, while a tenth of a second or more is
// still to be heard; a sound counts as playing until the server's played time has reached the
// sound's length.
class QtAudioOutput : public QObject, public AudioOutput {
  public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    bool Play(std::shared_ptr<const PcmImage> image) override;
    bool IsPlaying() const override;

  private:
    void OnIdle();
    void Release();

    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QBuffer> buffer_;
    std::shared_ptr<const PcmImage> image_;  // the bytes the sink reads, kept until it is released
    QElapsedTimer sinceIdle_;
    qint64 drainLimitMs_ = 0;
    QTimer releaseTimer_;
};

}  // namespace qfd
