#include "Startup.h"

#include "SystemClock.h"
#include "TMirelo.h"

#include <QApplication>
#include <QFont>

namespace mirelo {

int RunMirelo(int argc, char** argv, SoundInterface& sound) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    QApplication::setApplicationDisplayName(QString::fromLatin1(ApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("mirelo"));
    // The window's fonts are named as on the desktop they were designed for;
    // these metric-compatible families stand in for them.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));

    RealClock clock;
    TMirelo::Environment env;
    env.Clock = &clock;
    env.Sound = &sound;
    TMirelo window(env);
    window.show();
    return QApplication::exec();
}

} // namespace mirelo
