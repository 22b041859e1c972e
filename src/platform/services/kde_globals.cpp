#include "platform/services/kde_globals.h"

#include "platform/controls/qt_color.h"

#include <QColor>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStandardPaths>
#include <QString>

namespace platform {

namespace {

// A kdeglobals is a few kilobytes; more than this is not one, and reading
// it all at every click would stall the menu.
constexpr qint64 kMaxFileBytes = 1 << 20;

struct GroupHeader {
    QByteArray name;
    bool locksGroup = false;
    bool locksFile = false;
};

// "[a][b]" is the subgroup b of a; a last "[$i]" locks the group, or the
// whole file when no name came before it. A header without its closing
// bracket is no header: KConfig keeps the group before it, and so do we.
std::optional<GroupHeader> ReadHeader(QByteArrayView line)
{
    GroupHeader header;
    qsizetype start = 1;
    qsizetype end = 0;
    do {
        end = line.indexOf(']', start);
        if (end < 0)
            return std::nullopt;
        const QByteArrayView part = line.sliced(start, end - start);
        if (end + 1 == line.size() && part == "$i") {
            (header.name.isEmpty() ? header.locksFile : header.locksGroup) = true;
        } else {
            if (!header.name.isEmpty())
                header.name += '\x1d';
            header.name += part;
        }
        start = end + 2;
    } while (start <= line.size() && line.at(end + 1) == '[');
    return header;
}

} // namespace

void KdeGlobals::Read(QByteArrayView text)
{
    if (closed_)
        return;
    QByteArray group;
    bool fileLocked = false;
    bool groupLocked = false;
    bool groupSkipped = false;
    std::set<QByteArray> lockedHere; // in force for the files after this one
    while (!text.isEmpty()) {
        const qsizetype newline = text.indexOf('\n');
        const QByteArrayView line
            = (newline < 0 ? text : text.first(newline)).trimmed(); // drops a CR too
        text = newline < 0 ? QByteArrayView() : text.sliced(newline + 1);
        if (line.isEmpty() || line.front() == '#')
            continue;

        if (line.front() == '[') {
            const std::optional<GroupHeader> header = ReadHeader(line);
            if (!header)
                continue;
            fileLocked = fileLocked || header->locksFile;
            group = header->name;
            groupLocked = fileLocked || header->locksGroup;
            groupSkipped = lockedGroups_.count(group) != 0;
            if (groupLocked)
                lockedHere.insert(group);
            continue;
        }
        if (groupSkipped)
            continue;

        const qsizetype equals = line.indexOf('=');
        QByteArrayView key = (equals < 0 ? line : line.first(equals)).trimmed();
        bool entryLocked = groupLocked;
        bool deleted = false;
        bool localised = false;
        bool broken = false;
        for (qsizetype open; !broken && (open = key.lastIndexOf('[')) >= 0; key.truncate(open)) {
            const qsizetype close = key.indexOf(']', open);
            const QByteArrayView inside
                = close < 0 ? QByteArrayView() : key.sliced(open + 1, close - open - 1);
            broken = close < 0;
            if (inside.startsWith('$')) {
                entryLocked = entryLocked || inside.contains('i');
                deleted = deleted || inside.contains('d');
            } else {
                localised = true;
            }
        }
        const Key entry{group, key.toByteArray()};
        if (broken || key.isEmpty() || localised || (equals < 0 && !deleted)
            || lockedKeys_.count(entry) != 0)
            continue;
        if (deleted)
            values_.erase(entry);
        else
            values_[entry] = line.sliced(equals + 1).trimmed().toByteArray();
        if (entryLocked)
            lockedKeys_.insert(entry);
    }
    lockedGroups_.insert(lockedHere.begin(), lockedHere.end());
    closed_ = fileLocked;
}

QByteArray KdeGlobals::Value(QByteArrayView group, QByteArrayView key) const
{
    const auto found = values_.find({group.toByteArray(), key.toByteArray()});
    return found == values_.end() ? QByteArray() : found->second;
}

std::optional<std::uint32_t> KdeColour(QByteArrayView value)
{
    if (!value.contains(',')) {
        const QColor named = QColor::fromString(QUtf8StringView(value.data(), value.size()));
        return named.isValid() ? std::optional(ToColorValue(named)) : std::nullopt;
    }
    int parts[4] = {};
    int count = 0;
    for (;;) {
        const qsizetype comma = value.indexOf(',');
        if (count == 4)
            return std::nullopt;
        bool ok = false;
        // The same conversion as KConfig's, so that spaces and signs pass
        // or fail alike.
        const int part = (comma < 0 ? value : value.first(comma)).toInt(&ok);
        if (!ok || part < 0 || part > 255)
            return std::nullopt;
        parts[count++] = part;
        if (comma < 0)
            break;
        value = value.sliced(comma + 1);
    }
    if (count < 3)
        return std::nullopt;
    return ToColorValue(QColor(parts[0], parts[1], parts[2]));
}

const KdeGlobals& CurrentKdeGlobals()
{
    struct Stamp {
        QString path;
        QDateTime modified;
        qint64 size;
        bool operator==(const Stamp&) const = default;
    };
    static QList<Stamp> read;
    static KdeGlobals globals;

    // Most specific first; a FIFO or a folder of that name is not read,
    // which would block or fail.
    QList<Stamp> now;
    const QStringList paths
        = QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation, "kdeglobals");
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isFile())
            now.append({path, info.lastModified(), info.size()});
    }
    if (now == read)
        return globals;
    globals = KdeGlobals();
    for (auto file = now.crbegin(); file != now.crend(); ++file) {
        QFile in(file->path);
        if (in.open(QIODevice::ReadOnly))
            globals.Read(in.read(kMaxFileBytes)); // unreadable: as if absent
    }
    read = now;
    return globals;
}

} // namespace platform
