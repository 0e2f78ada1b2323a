#include "recorder/mci/MediaCommand.h"

#include <algorithm>

namespace platform {
namespace {

bool is(const QString& word, const char* keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// A plain decimal number: digits only, at most 18 of them.
std::optional<std::int64_t> number(const QString& word)
{
    if (word.isEmpty() || word.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (QChar c : word) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

MediaParse fail(const QString& why) { return {std::nullopt, why}; }

MediaParse parseOpen(const QStringList& w)
{
    if (w.size() < 2) return fail("open: no element");
    MediaCommand c;
    c.verb = MediaVerb::Open;
    c.element = w[1];
    for (qsizetype i = 2; i < w.size(); i += 2) {
        if (i + 1 >= w.size()) return fail("open: " + w[i] + " without a value");
        if (is(w[i], "type"))
            c.type = w[i + 1].toLower();
        else if (is(w[i], "alias"))
            c.alias = w[i + 1];
        else
            return fail("open: unknown keyword " + w[i]);
    }
    if (c.type.isEmpty()) return fail("open: no device type");
    if (c.alias.isEmpty()) return fail("open: no alias");
    return {c, {}};
}

MediaParse parseSet(const QStringList& w, MediaCommand c)
{
    if (w.size() < 3) return fail("set: nothing to set");
    if (is(w[2], "time")) {
        if (w.size() != 5 || !is(w[3], "format")) return fail("set: time format expected");
        if (is(w[4], "ms") || is(w[4], "milliseconds"))
            c.timeFormat = MediaTimeFormat::Milliseconds;
        else if (is(w[4], "bytes"))
            c.timeFormat = MediaTimeFormat::Bytes;
        else
            return fail("set: unknown time format " + w[4]);
        return {c, {}};
    }
    static const char* const keys[] = {"alignment", "bitspersample", "samplespersec", "channels",
                                       "bytespersec"};
    for (qsizetype i = 2; i < w.size(); i += 2) {
        const QString key = w[i].toLower();
        if (std::find_if(std::begin(keys), std::end(keys),
                         [&](const char* k) { return key == QLatin1String(k); }) == std::end(keys))
            return fail("set: unknown keyword " + w[i]);
        if (i + 1 >= w.size()) return fail("set: " + w[i] + " without a value");
        const std::optional<std::int64_t> value = number(w[i + 1]);
        if (!value) return fail("set: " + w[i] + " is not a number: " + w[i + 1]);
        c.format.emplace_back(key, *value);
    }
    return {c, {}};
}

MediaParse parseStatus(const QStringList& w, MediaCommand c)
{
    if (w.size() != 3) return fail("status: one item expected");
    struct Item {
        const char* word;
        MediaItem item;
    };
    static const Item items[] = {{"mode", MediaItem::Mode},
                                 {"length", MediaItem::Length},
                                 {"channels", MediaItem::Channels},
                                 {"bitspersample", MediaItem::BitsPerSample},
                                 {"samplespersec", MediaItem::SamplesPerSec}};
    for (const Item& i : items) {
        if (is(w[2], i.word)) {
            c.item = i.item;
            return {c, {}};
        }
    }
    return fail("status: unknown item " + w[2]);
}

} // namespace

std::optional<QStringList> MediaWords(QStringView command)
{
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = command.size();
    while (i < n) {
        while (i < n && command[i] == u' ') ++i;
        if (i >= n) break;
        QString word;
        if (command[i] == u'"') {
            const qsizetype close = command.indexOf(u'"', i + 1);
            if (close < 0) return std::nullopt;
            word = command.mid(i + 1, close - i - 1).toString();
            i = close + 1;
        }
        while (i < n && command[i] != u' ') word += command[i++];
        words << word;
    }
    return words;
}

MediaParse ParseMediaCommand(QStringView command)
{
    const std::optional<QStringList> words = MediaWords(command);
    if (!words) return fail("unclosed quote");
    const QStringList& w = *words;
    if (w.isEmpty()) return fail("empty command");
    if (is(w[0], "open")) return parseOpen(w);

    if (w.size() < 2) return fail(w[0] + ": no alias");
    MediaCommand c;
    c.alias = w[1];
    const qsizetype extra = w.size() - 2;
    if (is(w[0], "close")) {
        c.verb = MediaVerb::Close;
        if (extra) return fail("close: unexpected words");
        return {c, {}};
    }
    if (is(w[0], "seek")) {
        c.verb = MediaVerb::Seek;
        if (extra != 2 || !is(w[2], "to") || !is(w[3], "start")) return fail("seek: to start expected");
        return {c, {}};
    }
    if (is(w[0], "set")) {
        c.verb = MediaVerb::Set;
        return parseSet(w, c);
    }
    if (is(w[0], "record") || is(w[0], "stop")) {
        c.verb = is(w[0], "record") ? MediaVerb::Record : MediaVerb::Stop;
        if (extra) return fail(w[0] + ": unexpected words");
        return {c, {}};
    }
    if (is(w[0], "play")) {
        c.verb = MediaVerb::Play;
        if (extra == 0) return {c, {}};
        if (extra != 2 || !is(w[2], "from")) return fail("play: from N expected");
        c.from = number(w[3]);
        if (!c.from) return fail("play: from is not a number: " + w[3]);
        return {c, {}};
    }
    if (is(w[0], "save")) {
        c.verb = MediaVerb::Save;
        if (extra != 1 || w[2].isEmpty()) return fail("save: one file name expected");
        c.fileName = w[2];
        return {c, {}};
    }
    if (is(w[0], "status")) {
        c.verb = MediaVerb::Status;
        return parseStatus(w, c);
    }
    return fail("unknown command " + w[0]);
}

} // namespace platform
