#include "XSession.h"

#include "ProfileFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>
#include <QtEndian>
#include <bit>
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

// One colour channel of a pixel, scaled to 0..255.
int Channel(quint32 pixel, quint32 mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    return static_cast<int>(((pixel & mask) >> shift) * 255 / (mask >> shift));
}

// Reads the dump xwd writes: a header of big-endian 32-bit fields, the window
// name, the colour map, then the pixels. Read here rather than through an image
// converter, which costs ten times as long as the dump itself, so that a test
// can afford a look at the screen after every click.
QImage ImageFromXwd(const QByteArray& data) {
    constexpr int Fields = 25;
    if (data.size() < 4 * Fields)
        return {};
    const auto field = [&data](int i) { return qFromBigEndian<quint32>(data.constData() + 4 * i); };
    const quint32 headerSize = field(0), format = field(2), width = field(4), height = field(5),
                  byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12),
                  red = field(14), green = field(15), blue = field(16), colours = field(19);
    constexpr quint32 ZPixmap = 2, LsbFirst = 0;
    if (format != ZPixmap || (bitsPerPixel != 24 && bitsPerPixel != 32) || width == 0 ||
        height == 0 || width > 16384 || height > 16384)
        return {};
    const qint64 start = qint64(headerSize) + 12 * qint64(colours);
    const int bytes = static_cast<int>(bitsPerPixel / 8);
    if (bytesPerLine < width * bytes || data.size() < start + qint64(bytesPerLine) * height)
        return {};
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    for (quint32 y = 0; y < height; ++y) {
        const auto* in =
            reinterpret_cast<const uchar*>(data.constData() + start + qint64(bytesPerLine) * y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (quint32 x = 0; x < width; ++x, in += bytes) {
            quint32 pixel = 0;
            for (int k = 0; k < bytes; ++k)
                pixel |= quint32(in[k]) << (byteOrder == LsbFirst ? 8 * k : 8 * (bytes - 1 - k));
            out[x] = qRgb(Channel(pixel, red), Channel(pixel, green), Channel(pixel, blue));
        }
    }
    return image;
}

} // namespace

bool PollUntil(const std::function<bool()>& condition, int milliseconds, int intervalMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QThread::msleep(intervalMs);
    }
    return true;
}

QString GameProgram(const char* name) {
    return QString::fromLatin1(MIRELO_APP_DIR) + QLatin1Char('/') + QLatin1String(name);
}

XSession::XSession(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0)
        return;
    xvfb_.setProgram(QStringLiteral("Xvfb"));
    // Without -noreset Xvfb resets whenever its last client leaves, as when a
    // test has killed the game and polls with xdotool, and a program connecting
    // during the reset is refused ("could not connect to display").
    xvfb_.setArguments(
        {QStringLiteral("-displayfd"), QString::number(fds[1]), QStringLiteral("-screen"),
         QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width).arg(height),
         QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    // Xvfb writes its display number to the inherited pipe once it is ready.
    xvfb_.setChildProcessModifier([fd = fds[0]] { close(fd); });
    xvfb_.start();
    close(fds[1]);
    QFile pipeIn;
    if (xvfb_.waitForStarted(5000) &&
        pipeIn.open(fds[0], QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        const QByteArray line = pipeIn.readLine().trimmed();
        if (!line.isEmpty())
            display_ = QStringLiteral(":") + QString::fromLatin1(line);
    } else {
        close(fds[0]);
    }
    configHome_ = config_.path();
    // A session bus of the screen's own, where a desktop keeps it. Without one
    // the bus library forks a launcher from the game's start-up, beside its
    // picture thread, and under the sanitizers the forked child has been seen
    // to hang, and the window with it.
    bus_.setProgram(QStringLiteral("dbus-daemon"));
    bus_.setArguments(
        {QStringLiteral("--session"), QStringLiteral("--nofork"),
         QStringLiteral("--print-address=1"),
         QStringLiteral("--address=unix:path=") + runtime_.filePath(QStringLiteral("bus"))});
    bus_.setStandardErrorFile(QProcess::nullDevice());
    bus_.start();
    if (bus_.waitForStarted(5000) && bus_.waitForReadyRead(10000))
        busAddress_ = QString::fromLatin1(bus_.readLine().trimmed());
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
    bus_.terminate();
    bus_.waitForFinished(3000);
}

QProcessEnvironment XSession::Environment(const QStringList& extra) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome_);
    if (!busAddress_.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress_);
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
    return !XdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                           QStringLiteral("--name"), QStringLiteral("MIRELO 2.8")})
                .isEmpty();
}

bool XSession::Start(const QString& program, const QStringList& environment) {
    game_.setProcessEnvironment(Environment(environment));
    game_.setProcessChannelMode(QProcess::ForwardedChannels);
    game_.start(program, {});
    if (!game_.waitForStarted(5000))
        return false;
    // Returns as soon as the window shows. A sanitizer build sharing the
    // machine with other tests has been seen to take over 20 s to show it.
    window_ = RunToString(QStringLiteral("xdotool"),
                          {QStringLiteral("search"), QStringLiteral("--sync"),
                           QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                           QStringLiteral("MIRELO 2.8")},
                          Environment({}), 60000)
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
                             QStringLiteral("sleep"), QStringLiteral("0.1"),
                             QStringLiteral("click"), QString::number(button)});
    QThread::msleep(150);
    return ok;
}

bool XSession::Key(const QString& keys) {
    return Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window_,
                    QStringLiteral("key"), keys});
}

QImage XSession::Screenshot(const QString& window) {
    QProcess xwd;
    xwd.setProcessEnvironment(Environment({}));
    xwd.start(QStringLiteral("xwd"),
              window.isEmpty()
                  ? QStringList{QStringLiteral("-root"), QStringLiteral("-silent")}
                  : QStringList{QStringLiteral("-id"), window, QStringLiteral("-silent")});
    if (!xwd.waitForFinished(10000) || xwd.exitStatus() != QProcess::NormalExit ||
        xwd.exitCode() != 0) {
        xwd.kill();
        xwd.waitForFinished();
        return {};
    }
    return ImageFromXwd(xwd.readAllStandardOutput());
}

QStringList XSession::GameWindows() {
    if (game_.state() != QProcess::Running)
        return {};
    const QString found =
        XdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--pid"), QString::number(game_.processId())});
    return found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString XSession::WindowName(const QString& window) {
    // The title as the window manager shows it: `_NET_WM_NAME`, read whole.
    QProcess xprop;
    xprop.setProcessEnvironment(Environment({}));
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("-notype"),
                                          QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(10000) || xprop.exitCode() != 0)
        return {};
    // _NET_WM_NAME = "text", with '"' and '\' escaped by a backslash.
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype first = line.indexOf(QLatin1Char('"')),
                    last = line.lastIndexOf(QLatin1Char('"'));
    if (first < 0 || last <= first)
        return {};
    QString name;
    for (qsizetype i = first + 1; i < last; ++i) {
        if (line[i] == QLatin1Char('\\') && i + 1 < last)
            ++i;
        name += line[i];
    }
    return name;
}

QRect XSession::WindowGeometry(const QString& window) {
    // One "NAME=value" line each for WINDOW, X, Y, WIDTH, HEIGHT and SCREEN.
    const QString shell =
        XdotoolOutput({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QRect rect;
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        const QString name = line.section(QLatin1Char('='), 0, 0);
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (name == QLatin1String("X"))
            rect.moveLeft(value);
        else if (name == QLatin1String("Y"))
            rect.moveTop(value);
        else if (name == QLatin1String("WIDTH"))
            rect.setWidth(value);
        else if (name == QLatin1String("HEIGHT"))
            rect.setHeight(value);
    }
    return rect;
}

int XSession::WaitForExit(int milliseconds) {
    if (!game_.waitForFinished(milliseconds))
        return -1;
    return game_.exitStatus() == QProcess::NormalExit ? game_.exitCode() : -1;
}

bool ChooseFromMenu(XSession& x, const QString& menuKey, int downs, const QStringList& moreKeys) {
    QStringList keys{menuKey};
    for (int i = 0; i < downs; ++i)
        keys << QStringLiteral("Down");
    keys << moreKeys << QStringLiteral("Return");
    for (const QString& key : keys) {
        if (!x.Key(key))
            return false;
        QThread::msleep(120);
    }
    return true;
}

QString SettingValue(const XSession& x, const char* section, const char* key) {
    ProfileFile file;
    file.Load(x.ConfigHome() + QStringLiteral("/Mirelo.ini"));
    return file.ReadString(QString::fromLatin1(section), QString::fromLatin1(key),
                           QStringLiteral("<absent>"));
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
