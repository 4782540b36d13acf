#include "platform/cups_queue.h"

#include <QUrl>

#include <cups/cups.h>

#include <memory>

namespace tabulo::platform {
namespace {

struct DestFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct DestInfoFree {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};

QString utf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// A device URI may carry the credentials of a remote printer; the port
// name shows where the queue prints, never who logs in there.
QString withoutUserInfo(const char* uri) {
    const QString text = utf8(uri);
    const QUrl url(text);
    if (!url.isValid() || url.userInfo().isEmpty())
        return text;
    return url.adjusted(QUrl::RemoveUserInfo).toString();
}

// The queue's default paper source: its own default, else the source of its
// default medium; empty when it names none.
QString defaultSource(cups_dest_t* dest, cups_dinfo_t* info) {
    if (ipp_attribute_t* source = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE))
        return utf8(ippGetString(source, 0, nullptr));
    if (ipp_attribute_t* medium = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media-col"))
        if (ipp_t* members = ippGetCollection(medium, 0))
            if (ipp_attribute_t* source = ippFindAttribute(members, CUPS_MEDIA_SOURCE, IPP_TAG_KEYWORD))
                return utf8(ippGetString(source, 0, nullptr));
    return {};
}

}  // namespace

std::optional<CupsQueueDetails> cupsQueueDetails(const QString& queue) {
    const QByteArray name = queue.toUtf8();
    std::unique_ptr<cups_dest_t, DestFree> dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr));
    if (!dest)
        return std::nullopt;
    CupsQueueDetails details;
    details.deviceUri = withoutUserInfo(cupsGetOption("device-uri", dest->num_options, dest->options));

    std::unique_ptr<cups_dinfo_t, DestInfoFree> info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    if (!info)
        return details;
    if (ipp_attribute_t* sources = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest.get(), info.get(), CUPS_MEDIA_SOURCE)) {
        for (int i = 0; i < ippGetCount(sources); ++i) {
            const char* keyword = ippGetString(sources, i, nullptr);
            if (!keyword)
                continue;
            details.sourceKeywords.append(utf8(keyword));
            details.sourceNames.append(
                utf8(cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest.get(), info.get(), CUPS_MEDIA_SOURCE, keyword)));
        }
    }
    details.defaultSource = defaultSource(dest.get(), info.get());
    if (ipp_attribute_t* copies = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest.get(), info.get(), CUPS_COPIES)) {
        if (ippGetValueTag(copies) == IPP_TAG_RANGE) {
            int upper = 0;
            ippGetRange(copies, 0, &upper);
            details.maxCopies = upper;
        } else if (ippGetValueTag(copies) == IPP_TAG_INTEGER) {
            details.maxCopies = ippGetInteger(copies, 0);
        }
    }
    return details;
}

}  // namespace tabulo::platform
