// The kit's gallery: every component in its states. With --render <folder> it writes one PNG per
// page and quits; otherwise it shows the pages in tabs.
#include "KitGallery.h"

#include <QApplication>
#include <QScrollArea>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = int(args.indexOf("--render"));
    if (at >= 0 && at + 1 < args.size()) {
        for (const QString& file : tessaron::KitGallery::renderAll(args[at + 1]))
            std::printf("%s\n", qPrintable(file));
        return 0;
    }
    QTabWidget tabs;
    for (const auto& page : tessaron::KitGallery::pages()) {
        auto* scroll = new QScrollArea;
        scroll->setWidget(page.build());
        tabs.addTab(scroll, page.name);
    }
    tabs.resize(1200, 800);
    tabs.show();
    return app.exec();
}
