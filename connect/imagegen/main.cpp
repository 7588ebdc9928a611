// Draws connect's images from a manifest and writes them with a Qt resource file.
//   connect_imagegen MANIFEST OUTPUT_DIR
#include "ImageDrawing.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

struct ImageEntry {
    QString name;
    QSize size;
    QString drawing;
    QColor colour;
};

bool parse_line(const QString &line, ImageEntry *entry)
{
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() != 5)
        return false;
    entry->name = fields[0];
    entry->size = QSize(fields[1].toInt(), fields[2].toInt());
    entry->drawing = fields[3];
    entry->colour = QColor(fields[4]);
    return entry->size.isValid() && !entry->size.isEmpty() && entry->colour.isValid();
}

int fail(const QString &message)
{
    std::fprintf(stderr, "connect_imagegen: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        return fail(QStringLiteral("usage: connect_imagegen MANIFEST OUTPUT_DIR"));
    QFile manifest(QString::fromLocal8Bit(argv[1]));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(manifest.fileName()));
    const QDir output(QString::fromLocal8Bit(argv[2]));
    if (!output.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot create %1").arg(output.path()));

    QString qrc = QStringLiteral("<RCC>\n<qresource prefix=\"/img\">\n");
    int count = 0;
    int line_number = 0;
    QTextStream lines(&manifest);
    while (!lines.atEnd()) {
        const QString line = lines.readLine().trimmed();
        ++line_number;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        ImageEntry entry;
        if (!parse_line(line, &entry))
            return fail(QStringLiteral("line %1: expected NAME WIDTH HEIGHT DRAWING COLOUR").arg(line_number));
        QImage image(entry.size, QImage::Format_ARGB32_Premultiplied);
        if (!draw_image(entry.drawing, entry.colour, &image))
            return fail(QStringLiteral("line %1: unknown drawing %2").arg(line_number).arg(entry.drawing));
        const QString file = QStringLiteral("image%1.png").arg(count++);
        if (!image.save(output.filePath(file)))
            return fail(QStringLiteral("cannot write %1").arg(output.filePath(file)));
        qrc += QStringLiteral("  <file alias=\"%1\">%2</file>\n").arg(entry.name, file);
    }
    qrc += QStringLiteral("</qresource>\n</RCC>\n");

    QFile qrc_file(output.filePath(QStringLiteral("images.qrc")));
    if (!qrc_file.open(QIODevice::WriteOnly | QIODevice::Text) || qrc_file.write(qrc.toUtf8()) < 0)
        return fail(QStringLiteral("cannot write %1").arg(qrc_file.fileName()));
    return 0;
}
