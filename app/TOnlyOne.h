#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QLockFile;
class QSocketNotifier;

namespace mirelo {

// One running copy at a time, shared by both editions. The marker is a lock
// file in the user's runtime folder: a copy that was killed leaves it behind,
// but its process is gone, so the next start recognises it as stale. Beside it,
// a local socket lets a second copy ask the running one to come to the front.
class TOnlyOne : public QObject {
    Q_OBJECT
public:
    // `folder` holds the marker and the socket; empty for RuntimeFolder().
    explicit TOnlyOne(QString applicationTitle, QString folder = {}, QObject* parent = nullptr);
    ~TOnlyOne() override;

    bool EnforceOnlyOne = true;

    // Runs the guard. Returns true when another copy is running: it has been
    // asked to come to the front, and this copy must end without saving.
    bool OnLoad();

    // Called in the running copy when a second copy asks it to come forward.
    std::function<void()> OnRaiseRequest;

    // Whether the file at `path` is the user's own: a marker or a socket of
    // another user is not this user's copy and never stops a start. Tests
    // replace it to see a file as another user's.
    std::function<bool(const QString& path)> OwnedByUser;

    // "OnlyOne" followed by the first 20 characters of the title.
    QString MarkerName() const;
    // The marker's path without its suffix: the marker name and the user's id,
    // as the folder may be the temporary folder that every user shares.
    QString MarkerBase() const;
    // The folder holding the marker and the socket.
    static QString RuntimeFolder();

private:
    enum class Marker { Taken, HeldByAnotherCopy, Unusable };
    Marker TakeMarker();
    bool OwnerIsNamed() const;
    class Caller;
    QString SocketPath() const;
    void Listen();
    void Answer(Caller* caller);
    // Whether a running copy answered and was asked to come forward.
    bool AskRunningCopyToRaise() const;

    QString title_;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    int server_ = -1;
    std::unique_ptr<QSocketNotifier> listening_;
    std::vector<std::unique_ptr<Caller>> callers_;
};

// The one request the running copy knows.
inline constexpr char RaiseRequest[] = "raise\n";

// Whether the file at `path` itself (not what a link points to) belongs to the
// user running this program.
bool FileOwnedByUser(const QString& path);

} // namespace mirelo
