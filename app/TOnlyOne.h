#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace mirelo {

// One running copy at a time, shared by both editions. The marker is a lock
// file in the user's runtime folder: a copy that was killed leaves it behind,
// but its process is gone, so the next start recognises it as stale. Beside it,
// a local socket lets a second copy ask the running one to come to the front.
class TOnlyOne : public QObject {
    Q_OBJECT
public:
    explicit TOnlyOne(QString applicationTitle, QObject* parent = nullptr);
    ~TOnlyOne() override;

    bool EnforceOnlyOne = true;

    // Runs the guard. Returns true when another copy is running: it has been
    // asked to come to the front, and this copy must end without saving.
    bool OnLoad();

    // Called in the running copy when a second copy asks it to come forward.
    std::function<void()> OnRaiseRequest;

    // "OnlyOne" followed by the first 20 characters of the title.
    QString MarkerName() const;
    // The folder holding the marker and the socket.
    static QString RuntimeFolder();

private:
    void Listen();
    void AskRunningCopyToRaise() const;

    QString title_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

// The one request the running copy knows.
inline constexpr char RaiseRequest[] = "raise\n";

} // namespace mirelo
