#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

namespace tessaron::KitGallery {

struct Page {
    QString name;
    std::function<QWidget*()> build;
};

// Every component of the kit in its states, one page per family.
QList<Page> pages();

// Renders every page to <folder>/<name>.png; returns the files written.
QStringList renderAll(const QString& folder);

} // namespace tessaron::KitGallery
