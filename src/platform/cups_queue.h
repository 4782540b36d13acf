// What the CUPS scheduler tells about one queue beyond Qt's printer
// information: its paper sources, the most copies one job may ask for, and
// the device it prints to (the queue's port). Read through the public CUPS
// client library; a queue the scheduler does not know (or no scheduler at
// all) gives std::nullopt.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tabulo::platform {

struct CupsQueueDetails {
    // The "media-source" keywords the queue offers ("auto", "manual",
    // "tray-1", ...), their names as the queue shows them (the keyword
    // itself when the queue has no names for them), and the keyword of its
    // default source (empty when it names none).
    QStringList sourceKeywords;
    QStringList sourceNames;
    QString defaultSource;
    // The upper end of the queue's "copies" range; 0 when it gives none.
    int maxCopies = 0;
    // The queue's device URI without any user name or password in it.
    QString deviceUri;
};

std::optional<CupsQueueDetails> cupsQueueDetails(const QString& queue);

}  // namespace tabulo::platform
