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
    if (windowManager_.state() != QProcess::NotRunning) {
        windowManager_.kill();
        windowManager_.waitForFinished();
    }
    xvfb_.terminate();
    xvfb_.waitForFinished(3000);
}

QProcessEnvironment XSession::Environment(const QStringList& extra) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome_);
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const QString& pair : extra)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    return env;
}

std::unique_ptr<QProcess> XSession::Launch(const QString& program, const QStringList& environment) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(Environment(environment));
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, {});
    process->waitForStarted(5000);
    return process;
}

bool XSession::StartWindowManager() {
    windowManager_.setProcessEnvironment(Environment({}));
    windowManager_.start(QStringLiteral("openbox"), {});
    if (!windowManager_.waitForStarted(5000))
        return false;
    QThread::msleep(500);
    return true;
}

QString XSession::XdotoolOutput(const QStringList& arguments) {
    return RunToString(QStringLiteral("xdotool"), arguments, Environment({}));
}

bool XSession::GameWindowVisible() {
    return !XdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                           QStringLiteral("MIRELO 2.8")})
                .isEmpty();
}

bool XSession::Start(const QString& program, const QStringList& environment) {
    game_.setProcessEnvironment(Environment(environment));
    game_.setProcessChannelMode(QProcess::ForwardedChannels);
    game_.start(program, {});
    if (!game_.waitForStarted(5000))
        return false;
    window_ = XdotoolOutput({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--name"), QStringLiteral("MIRELO 2.8")})
                  .section(QLatin1Char('\n'), 0, 0);
    // Let the first deal reach the screen.
    QThread::msleep(800);
    return !window_.isEmpty();
}

bool XSession::Xdotool(const QStringList& arguments) {
    QProcess p;
    p.setProcessEnvironment(Environment({}));
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
    QProcess xwd;
    xwd.setProcessEnvironment(Environment({}));
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
