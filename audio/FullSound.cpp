#include "FullSound.h"

#include "AudioDevice.h"
#include "MediaControl.h"
#include "MidiSequencer.h"
#include "SetUpThread.h"
#include "SoundError.h"
#include "TDGCSoundBuffer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QToolButton>

namespace mirelo {

namespace {

QString ReasonOf(const SoundError& e) {
    return QString::fromStdString(e.Reason().empty() ? std::string(e.what()) : e.Reason());
}

} // namespace

FullSound::FullSound(QString programFolder)
    : FullSound(std::move(programFolder), DefaultSoundFont) {}

FullSound::FullSound(QString programFolder, QString soundFont, std::chrono::milliseconds musicDelay)
    : folder_(std::move(programFolder)), soundFont_(soundFont.toStdString()),
      defaultTune_(QDir(folder_).filePath(DefaultTune).toStdString()), musicDelay_(musicDelay) {
    LoadEmbeddedLibrary();
}

// The set-up begins at the first call that needs it, so that a window asking
// nothing of the sound before its first paint is built with both cores.
SetUpThread& FullSound::SetUp() const {
    if (!setUp_)
        setUp_ = std::make_unique<SetUpThread>(
            [this] { const_cast<FullSound*>(this)->SetUpDevice(); },
            [this] { const_cast<FullSound*>(this)->LoadMusic(soundFont_, defaultTune_); },
            musicDelay_);
    return *setUp_;
}

FullSound::~FullSound() {
    // First, so that nothing below is still being made.
    setUp_.reset();
    // The control belongs to the window and may outlive this object.
    if (media_) {
        QObject::disconnect(media_->PlayButton(), nullptr, media_, nullptr);
        QObject::disconnect(media_->PauseButton(), nullptr, media_, nullptr);
        media_->setEnabled(false);
    }
    notifier_.reset();
    sequencer_.reset();
}

void FullSound::LoadEmbeddedLibrary() {
    QFile file(QStringLiteral(":/sounds/sounds.sl10"));
    if (!file.open(QIODevice::ReadOnly)) {
        reason_ = QStringLiteral("The program's sound library is missing.");
        return;
    }
    const QByteArray bytes = file.readAll();
    try {
        library_.Sounds.ReadData(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size()));
    } catch (const SoundError& e) {
        reason_ = QString::fromUtf8(e.what());
    }
}

// The set-up thread's first step: the device and the buffers. Nothing of Qt's
// but the reason's text.
void FullSound::SetUpDevice() {
    struct DeviceCallsEnd {
        ~DeviceCallsEnd() { AudioDevice::ThreadDone(); }
    } deviceCallsEnd;
    audio_.SetSoundLibrary(&library_);
    try {
        audio_.SetUp();
    } catch (const SoundError& e) {
        // No device: the game goes on silent. A library the device cannot take
        // still leaves the device to the music.
        if (reason_.isEmpty())
            reason_ = ReasonOf(e);
    }
}

// Whether music can play, found out without the sound font's contents, at the
// first question about music: a game that never plays any neither opens the
// sound font nor makes a synthesiser.
void FullSound::RunChecks() const {
    WaitReady();
    if (checked_)
        return;
    checked_ = true;
    if (!audio_.Device())
        return;
    fontUsable_ = MidiSequencer::SoundFontLooksUsable(soundFont_, &checkReason_);
    tuneOpens_ = fontUsable_ &&
                 MidiSequencer::TuneOpens(defaultTune_, audio_.Device()->Rate(), &checkReason_);
}

// Music is wanted: the sound font is loaded a little later, on the set-up
// thread, unless something waits for it sooner.
void FullSound::RequestMusic() {
    RunChecks();
    SetUp().RequestSecond();
}

// The second step, run only once music is wanted: the sequencer with its sound
// font, and the default tune. The checks ran before it was asked for.
void FullSound::LoadMusic(const std::string& soundFont, const std::string& defaultTune) {
    if (!fontUsable_)
        return;
    try {
        sequencer_ = std::make_unique<MidiSequencer>(*audio_.Device(), soundFont,
                                                     TunesInFolder(folder_.toStdString()));
    } catch (const SoundError& e) {
        loadReason_ = e.Reason().empty() ? std::string(e.what()) : e.Reason();
        return;
    }
    sequencer_->Open(defaultTune, &loadReason_);
}

void FullSound::WaitReady() const {
    SetUp().WaitFirst();
}

void FullSound::WaitMusic() {
    RunChecks();
    if (musicFinished_)
        return;
    SetUp().WaitSecond();
    FinishMusic();
}

// Without waiting: whether the music has been loaded, finishing it if so.
bool FullSound::MusicLoaded() {
    if (!musicFinished_ && SetUp().SecondDone())
        WaitMusic();
    return musicFinished_;
}

void FullSound::FinishMusic() {
    musicFinished_ = true;
    // The checks promised music and the load could not keep the promise: the
    // control goes grey, as it would have stayed had the load come first.
    if (tuneOpens_ && !(sequencer_ && sequencer_->IsOpen()) && media_)
        media_->setEnabled(false);
    if (armWanted_ && sequencer_) {
        WatchEndNotices();
        sequencer_->ArmEndNotice();
    }
}

TDGCSoundLib& FullSound::Library() {
    WaitReady();
    return library_;
}

TDGCAudio& FullSound::Audio() {
    WaitReady();
    return audio_;
}

MidiSequencer* FullSound::Sequencer() const {
    RunChecks();
    SetUp().WaitSecond();
    return sequencer_.get();
}

QString FullSound::UnavailableReason() const {
    WaitReady();
    return reason_;
}

void FullSound::PlayEffect(int index) {
    WaitReady();
    if (index < 0 || index >= audio_.BufferCount())
        return;
    audio_.Sound(index)->Play();
}

QWidget* FullSound::CreateMediaControl(QWidget* parent) {
    if (media_)
        return media_;
    media_ = new MediaControl(parent);
    QObject::connect(media_->PlayButton(), &QToolButton::clicked, media_, [this] { PlayClick(); });
    QObject::connect(media_->PauseButton(), &QToolButton::clicked, media_,
                     [this] { PauseClick(); });
    return media_;
}

bool FullSound::MusicPossible() const {
    RunChecks();
    if (SetUp().SecondDone())
        return sequencer_ != nullptr;
    return fontUsable_;
}

bool FullSound::MusicCanPlay() const {
    RunChecks();
    if (SetUp().SecondDone())
        return sequencer_ && sequencer_->IsOpen();
    return tuneOpens_;
}

QString FullSound::MusicUnavailableReason() const {
    RunChecks();
    if (!audio_.Device())
        return reason_;
    if (MusicCanPlay())
        return {};
    // The load finds what the checks could not see: a sound font broken inside.
    const bool loaded = SetUp().SecondDone();
    return QString::fromStdString(loaded && !loadReason_.empty() ? loadReason_ : checkReason_);
}

void FullSound::EnableMusic() {
    RunChecks();
    if (media_)
        media_->setEnabled(true);
    if (!MusicLoaded()) {
        armWanted_ = true;
        RequestMusic();
        return;
    }
    if (sequencer_) {
        WatchEndNotices();
        sequencer_->ArmEndNotice();
    }
}

bool FullSound::TuneExists(const QString& fileName) const {
    // Where no tune can play the Music menu finds none; asked before the load,
    // the checks answer for it.
    return MusicPossible() && QFileInfo(QDir(folder_).filePath(fileName)).isFile();
}

bool FullSound::OpenTune(const QString& fileName, QString* error) {
    std::string why;
    const bool opened = sequencer_->Open(QDir(folder_).filePath(fileName).toStdString(), &why);
    if (opened)
        defaultTried_ = false;
    else if (error)
        *error = QString::fromStdString(why);
    return opened;
}

bool FullSound::SelectedMusic(const QString& fileName, QString* error) {
    WaitMusic();
    if (!sequencer_) {
        if (error)
            *error = QStringLiteral("Music cannot be played on this machine.");
        return false;
    }
    // A file that is not there, or is there but cannot be played, changes
    // nothing: it is tried before the tune in play is closed.
    if (!TuneExists(fileName)) {
        if (error)
            *error = QStringLiteral("The tune \"%1\" was not found.").arg(fileName);
        return false;
    }
    std::string why;
    if (!MidiSequencer::TuneOpens(QDir(folder_).filePath(fileName).toStdString(),
                                  audio_.Device()->Rate(), &why)) {
        if (error)
            *error = QString::fromStdString(why);
        return false;
    }
    WatchEndNotices();
    sequencer_->Close();
    if (!OpenTune(fileName, error)) {
        // Changed since it was tried: no tune is open now, and none is opened
        // behind the back of the window, which shows none.
        defaultTried_ = true;
        return false;
    }
    // Freshly opened, it stands at its start.
    sequencer_->Play();
    return true;
}

QString FullSound::CurrentTune() const {
    // Until the music is loaded no tune is open, and asking loads nothing.
    if (!setUp_ || !setUp_->SecondDone() || !sequencer_ || !sequencer_->IsOpen())
        return {};
    return QFileInfo(QString::fromStdString(sequencer_->FileName())).fileName();
}

bool FullSound::EnsureTuneOpen() {
    if (sequencer_->IsOpen())
        return true;
    if (defaultTried_)
        return false;
    defaultTried_ = true;
    return OpenTune(DefaultTune, nullptr);
}

bool FullSound::MusicStep() {
    // Until the music is loaded no tune can have been started, so there is
    // nothing to restart; the tick does not wait for the load, it asks for it
    // (music may just have been switched on) and steps again soon.
    if (!MusicLoaded()) {
        RequestMusic();
        return true;
    }
    if (!sequencer_ || !EnsureTuneOpen())
        return false;
    WatchEndNotices();
    sequencer_->ArmEndNotice();
    if (sequencer_->EndReached())
        sequencer_->Restart();
    return false;
}

void FullSound::MediaNotify() {
    if (!sequencer_)
        return;
    sequencer_->TakeNotices();
    if (sequencer_->EndReached())
        sequencer_->Restart();
    sequencer_->ArmEndNotice();
}

void FullSound::PlayClick() {
    WaitMusic();
    if (!sequencer_ || !EnsureTuneOpen())
        return;
    if (sequencer_->EndReached())
        sequencer_->Seek(sequencer_->Start());
    sequencer_->Play();
}

void FullSound::PauseClick() {
    WaitMusic();
    if (!sequencer_ || !EnsureTuneOpen())
        return;
    // Pause pauses a playing tune and resumes anything else.
    if (sequencer_->State() == MidiSequencer::Mode::Playing)
        sequencer_->Pause();
    else
        sequencer_->Play();
}

void FullSound::WatchEndNotices() {
    if (notifier_ || !sequencer_ || !QCoreApplication::instance())
        return;
    notifier_ =
        std::make_unique<QSocketNotifier>(sequencer_->NoticeHandle(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { MediaNotify(); });
}

void FullSound::CloseMusic() {
    // A game that never wanted sound closes without opening the device.
    if (!setUp_) {
        musicFinished_ = true;
        defaultTried_ = true;
        return;
    }
    WaitReady();
    // At close a sound font not yet loaded is not loaded at all.
    SetUp().SkipSecond();
    musicFinished_ = true;
    notifier_.reset();
    // Closed for good: the tick must not open the default tune again.
    defaultTried_ = true;
    if (!sequencer_)
        return;
    sequencer_->DisarmEndNotice();
    sequencer_->Close();
}

} // namespace mirelo
