#include "VelkinUI/KitFont.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

namespace tessaron::KitFont {

void registerFonts()
{
    static bool done = false;
    if (done || !QGuiApplication::instance())
        return;
    done = true;
    const QStringList folders{
        QStringLiteral("/usr/share/fonts/truetype/quicksand"),
        QStringLiteral("/usr/share/fonts/truetype/jetbrains-mono"),
        QStringLiteral("/usr/share/fonts/truetype/materialdesignicons-webfont"),
    };
    const QStringList known = QFontDatabase::families();
    for (const QString& folder : folders) {
        for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.ttf")}, QDir::Files)) {
            // fontconfig usually knows them already; register only what it missed.
            const bool quicksand =
                file.fileName().startsWith(QLatin1String("Quicksand")) && known.contains(QStringLiteral("Quicksand"));
            const bool jetbrains = file.fileName().startsWith(QLatin1String("JetBrainsMono"))
                && known.contains(QStringLiteral("JetBrains Mono"));
            const bool mdi = file.fileName().startsWith(QLatin1String("materialdesignicons"))
                && known.contains(QStringLiteral("Material Design Icons"));
            if (!quicksand && !jetbrains && !mdi)
                QFontDatabase::addApplicationFont(file.absoluteFilePath());
        }
    }
}

QString family(FontDesign design)
{
    switch (design) {
    case FontDesign::rounded:
        return QStringLiteral("Quicksand");
    case FontDesign::monospaced:
        return QStringLiteral("JetBrains Mono");
    case FontDesign::standard:
        break;
    }
    return QStringLiteral("DejaVu Sans");
}

QFont font(double size, QFont::Weight weight, FontDesign design, double tracking)
{
    registerFonts();
    QFont f;
    f.setFamilies({family(design), QStringLiteral("DejaVu Sans")});
    // 96 logical pixels to the inch: one kit point is one logical pixel.
    f.setPointSizeF(size * 72.0 / 96.0);
    // The rounded face is light by nature; one step more weight keeps titles as heavy as the others.
    int w = weight;
    if (design == FontDesign::rounded && w < QFont::Bold)
        w = std::min<int>(QFont::Bold, w + 100);
    f.setWeight(QFont::Weight(w));
    if (tracking != 0.0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace tessaron::KitFont
