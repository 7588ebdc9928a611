#include "Update.h"

Update::Update(QObject *parent)
    : QObject(parent)
{
}

void Update::checkUpdate()
{
}
