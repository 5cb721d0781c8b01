#include "qt/alert/audio_on_demand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <utility>

#include "qt/alert/qt_audio_output.h"
#include "qt/alert/qt_sound_library.h"

namespace qfd {

std::unique_ptr<AudioOutput> CreateQtAudioOutput(const QString& module) {
    return std::make_unique<AudioOnDemand>(
        module.isEmpty() ? QCoreApplication::applicationDirPath() + '/' + kAudioModuleName
                         : module);
}

std::unique_ptr<AlertSounds> CreateQtAlertSounds() {
    return std::make_unique<AlertSounds>(std::make_unique<QtSoundLibrary>(), CreateQtAudioOutput());
}

AudioOnDemand::AudioOnDemand(const QString& module) : library_(module) {}

AudioOnDemand::~AudioOnDemand() {
    if (loader_) loader_->wait();
    // The module stays mapped: Qt Multimedia keeps process-wide state (its sound server
    // connection, registered types) that has no teardown short of the program's end.
    output_.reset();
}

bool AudioOnDemand::Play(std::shared_ptr<const PcmImage> image) {
    if (output_) return output_->Play(std::move(image));
    if (unavailable_) return false;
    if (!loader_) {
        // A folder without the module is a program without sound, as one without a device.
        if (!QFileInfo(library_.fileName()).isFile()) {
            unavailable_ = true;
            return false;
        }
        loader_.reset(QThread::create([this] { library_.load(); }));
        connect(loader_.get(), &QThread::finished, this, &AudioOnDemand::OnLoaded);
        loader_->start();
    }
    // The silent sound only stops what waits.
    pending_ = image && image->dataSize > 0 ? std::move(image) : nullptr;
    return true;
}

bool AudioOnDemand::IsPlaying() const {
    return output_ ? output_->IsPlaying() : pending_ != nullptr;
}

void AudioOnDemand::OnLoaded() {
    // resolve() would try to load a module that failed to load again, here on this thread.
    const auto entry = library_.isLoaded()
                           ? reinterpret_cast<AudioModuleEntry>(library_.resolve(kAudioModuleEntry))
                           : nullptr;
    if (!entry) {
        qWarning("no sound: %s", qUtf8Printable(library_.errorString()));
        unavailable_ = true;
        pending_.reset();
        return;
    }
    output_.reset(entry());
    if (auto image = std::exchange(pending_, nullptr)) {
        output_->Play(std::move(image));  // without a device the sound is dropped, as any other
    }
}

}  // namespace qfd
