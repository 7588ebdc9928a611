#pragma once
// A model's page made as the main window makes it: by the model row that the path matches.
#include "devices/SupportedModels.h"

#include <QPushButton>
#include <QtTest>

#include <memory>

template <typename Page>
std::unique_ptr<Page> open_model_page(const QString &path)
{
    const SupportedModel *model = model_of_path(path);
    std::unique_ptr<Page> page(model ? qobject_cast<Page *>(model->create_page(*model, path, nullptr)) : nullptr);
    if (!page)
        qFatal("no %s for %s", Page::staticMetaObject.className(), qPrintable(path));
    page->show();
    return page;
}

// The page after a click on its picture.
template <typename Page>
std::unique_ptr<Page> enter_model_page(const QString &path)
{
    auto page = open_model_page<Page>(path);
    QTest::mouseClick(page->picture_button(), Qt::LeftButton);
    return page;
}
