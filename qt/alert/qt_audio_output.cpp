#include "qt/alert/qt_audio_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <algorithm>
#include <type_traits>

namespace qfd {

namespace {

// Once the sink is idle, the sound ends when the server's played time reaches its length. Should
// that time stop short (a backend that rounds, a stalled server), the sound still ends this long
// after it was due, so that later requests are not refused for ever.
constexpr qint64 kDrainSlackMs = 250;
constexpr int kReleasePollMs = 10;

}  // namespace

QtAudioOutput::QtAudioOutput() {
    releaseTimer_.setInterval(kReleasePollMs);
    releaseTimer_.setTimerType(Qt::PreciseTimer);
    connect(&releaseTimer_, &QTimer::timeout, this, [this] {
        if (!IsPlaying()) {
            Release();
        }
    });
}

QtAudioOutput::~QtAudioOutput() { Release(); }

bool QtAudioOutput::Play(std::shared_ptr<const PcmImage> image) {
    Release();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return false;
    }
    if (!image || image->dataSize == 0) {
        return true;  // the silent sound: stopping was all there was to do
    }

    QAudioFormat format;
    format.setChannelCount(image->format.channels);
    format.setSampleRate(static_cast<int>(image->format.sampleRate));
    format.setSampleFormat(image->format.bitsPerSample == 8 ? QAudioFormat::UInt8
                                                            : QAudioFormat::Int16);

    const auto samples = image->Samples();
    buffer_ = std::make_unique<QBuffer>();
    buffer_->setData(QByteArray::fromRawData(reinterpret_cast<const char*>(samples.data()),
                                             static_cast<qsizetype>(samples.size())));
    buffer_->open(QIODevice::ReadOnly);
    image_ = std::move(image);

    sink_ = std::make_unique<QAudioSink>(device, format);
    connect(sink_.get(), &QAudioSink::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::IdleState) {
            OnIdle();
        }
    });
    sink_->start(buffer_.get());
    // An unusable device is reported here, at once, with no state change to wait for.
    if (sink_->error() != QAudio::NoError) {
        Release();
        return false;
    }
    return true;
}

bool QtAudioOutput::IsPlaying() const {
    if (!sink_) {
        return false;
    }
    // Underrun is how the sink says that its source has run dry; the sound may still be heard.
    const QAudio::Error error = sink_->error();
    if (error != QAudio::NoError && error != QAudio::UnderrunError) {
        return false;
    }
    switch (sink_->state()) {
        case QAudio::ActiveState:
            return true;
        case QAudio::IdleState:
            return sink_->processedUSecs() < image_->DurationMicroseconds() &&
                   sinceIdle_.isValid() && sinceIdle_.elapsed() < drainLimitMs_;
        default:
            return false;
    }
}

void QtAudioOutput::OnIdle() {
    // What is left to hear is the part of the sound the server has not played yet.
    const qint64 leftUs = image_->DurationMicroseconds() - sink_->processedUSecs();
    drainLimitMs_ = std::max<qint64>(leftUs, 0) / 1000 + kDrainSlackMs;
    sinceIdle_.start();
    releaseTimer_.start();
}

void QtAudioOutput::Release() {
    releaseTimer_.stop();
    sinceIdle_.invalidate();
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
        sink_.reset();
    }
    buffer_.reset();
    image_.reset();
}

}  // namespace qfd

// The module's entry point: the program owns the output it returns.
extern "C" Q_DECL_EXPORT qfd::AudioOutput* QfdCreateAudioOutput() {
    return new qfd::QtAudioOutput();
}
static_assert(std::is_same_v<decltype(&QfdCreateAudioOutput), qfd::AudioModuleEntry>);
