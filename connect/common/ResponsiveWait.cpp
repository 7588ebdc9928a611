#include "ResponsiveWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>

void wait_processing_events(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!elapsed.hasExpired(milliseconds))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
}
