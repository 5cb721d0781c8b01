#pragma once

#include <QLibrary>
#include <QObject>
#include <QString>
#include <QThread>
#include <memory>

#include "core/platform/audio_output.h"

namespace qfd {

// The audio output that loads the audio module on the first sound. The module (Qt Multimedia and
// the sound server's client under it) is loaded on a thread of its own, so an alert that asks for
// its sound as it opens still shows and paints at once; the sound starts once the module is in.
// Until then the asked-for sound counts as playing, and a newer request replaces it.
class AudioOnDemand : public QObject, public AudioOutput {
  public:
    explicit AudioOnDemand(const QString& module);
    ~AudioOnDemand() override;

    bool Play(std::shared_ptr<const PcmImage> image) override;
    bool IsPlaying() const override;

  private:
    void OnLoaded();

    QLibrary library_;
    std::unique_ptr<QThread> loader_;
    std::unique_ptr<AudioOutput> output_;
    std::shared_ptr<const PcmImage> pending_;
    bool unavailable_ = false;
};

}  // namespace qfd
