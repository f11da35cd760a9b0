#include "XSession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <unistd.h>

namespace mirelo::test {

namespace {

QString RunToString(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                    int timeoutMs = 20000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

} // namespace

XSession::XSession(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0)
        return;
    xvfb_.setProgram(QStringLiteral("Xvfb"));
    xvfb_.setArguments({QStringLiteral("-displayfd"), QString::number(fds[1]), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
                        QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    // Xvfb writes its display number to the inherited pipe once it is ready.
    xvfb_.setChildProcessModifier([fd = fds[0]] { close(fd); });
    xvfb_.start();
    close(fds[1]);
    QFile pipeIn;
    if (xvfb_.waitForStarted(5000) && pipeIn.open(fds[0], QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        const QByteArray line = pipeIn.readLine().trimmed();
        if (!line.isEmpty())
            display_ = QStringLiteral(":") + QString::fromLatin1(line);
    } else {
        close(fds[0]);
    }
    configHome_ = config_.path();
}

XSession::~XSession() {
    if (game_.state() != QProcess::NotRunning) {
        game_.kill();
        game_.waitForFinished();
    }
    xvfb_.terminate();
    xvfb_.waitForFinished(3000);
}

bool XSession::Start(const QString& program, const QStringList& environment) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome_);
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString& pair : environment)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    game_.setProcessEnvironment(env);
    game_.setProcessChannelMode(QProcess::ForwardedChannels);
    game_.start(program, {});
    if (!game_.waitForStarted(5000))
        return false;
    QProcessEnvironment xenv = QProcessEnvironment::systemEnvironment();
    xenv.insert(QStringLiteral("DISPLAY"), display_);
    window_ = RunToString(QStringLiteral("xdotool"),
                          {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--name"), QStringLiteral("MIRELO 2.8")},
                          xenv)
                  .section(QLatin1Char('\n'), 0, 0);
    // Let the first deal reach the screen.
    QThread::msleep(800);
    return !window_.isEmpty();
}

bool XSession::Xdotool(const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), arguments);
    return p.waitForFinished(10000) && p.exitCode() == 0;
}

bool XSession::Click(int x, int y, int button) {
    const bool ok = Xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                             QStringLiteral("sleep"), QStringLiteral("0.1"), QStringLiteral("click"),
                             QString::number(button)});
    QThread::msleep(150);
    return ok;
}

bool XSession::Key(const QString& keys) {
    return Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window_, QStringLiteral("key"), keys});
}

QImage XSession::Screenshot() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    QProcess xwd;
    xwd.setProcessEnvironment(env);
    QProcess convert;
    xwd.setStandardOutputProcess(&convert);
    xwd.start(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent")});
    convert.start(QStringLiteral("convert"), {QStringLiteral("xwd:-"), QStringLiteral("png:-")});
    xwd.waitForFinished(10000);
    convert.waitForFinished(10000);
    QImage image;
    image.loadFromData(convert.readAllStandardOutput(), "PNG");
    return image.convertToFormat(QImage::Format_RGB32);
}

int XSession::WaitForExit(int milliseconds) {
    if (!game_.waitForFinished(milliseconds))
        return -1;
    return game_.exitStatus() == QProcess::NormalExit ? game_.exitCode() : -1;
}

int FindPictureRow(const QImage& screen, const QImage& picture, int column) {
    // Three hundred rows of the picture's column, matched anywhere down the
    // screen: long enough that a calm stretch of background cannot match twice.
    const int probe = 100, rows = 300;
    for (int y = 0; y + rows < screen.height(); ++y) {
        bool match = true;
        for (int k = 0; k < rows && match; ++k)
            match = screen.pixel(column, y + k) == picture.pixel(column, probe + k);
        if (match)
            return y - probe;
    }
    return -1;
}

} // namespace mirelo::test
