#include "app/WebText.h"

#include "toolkit/Error.h"
#include "app/HtmlEntities.h"
#include "toolkit/WorkYield.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <algorithm>
#include <memory>
#include <vector>

// HTML goes through libxml2's HTML parser: it reads pages as they are found on the web
// (unclosed and misnested elements, stray "<", comments holding ">", script text holding
// tags), it calls back for each piece of the page as it reads, so no tree of the page is
// ever built and a long page lets the event loop run from those calls. The page is given to
// it whole: fed in pieces, it loses text where a piece ends. Its table of named references
// stops at HTML 4, so every named reference is turned into a numeric one on the way in,
// from the full HTML table.

namespace WebText {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// The text with each run of blanks folded into one blank and none at either end.
class FoldedText {
public:
    explicit FoldedText(QStringView text = {}) { Append(text); }
    void Append(QStringView text) {
        for (const QChar c : text) {
            if (isBlank(c)) {
                m_blank = true;
                continue;
            }
            if (m_blank && !m_text.isEmpty())
                m_text.append(u' ');
            m_blank = false;
            m_text.append(c);
        }
    }
    void Break() { m_blank = true; }
    QString Take() { return std::move(m_text); }

private:
    QString m_text;
    bool m_blank = false;
};

// Elements whose content a browser does not show as text.
bool isHidden(QByteArrayView name) {
    static const QByteArrayList hidden{"script", "style",  "template", "noscript",
                                       "title",  "iframe", "noembed",  "noframes"};
    return hidden.contains(name);
}

// Elements that stand on lines of their own, or apart, in a browser.
bool isApart(QByteArrayView name) {
    static const QByteArrayList apart{
        "address", "article", "aside", "blockquote", "br", "caption", "center", "dd", "details",
        "dialog", "dir", "div", "dl", "dt", "fieldset", "figcaption", "figure", "footer", "form",
        "h1", "h2", "h3", "h4", "h5", "h6", "header", "hr", "legend", "li", "main", "menu", "nav",
        "ol", "p", "pre", "section", "summary", "table", "tbody", "td", "tfoot", "th", "thead",
        "tr", "ul"};
    return apart.contains(name);
}

struct HtmlSink {
    FoldedText text{};
    int hidden = 0; // depth inside elements whose content is not shown
    WorkYield* yield = nullptr;
};

HtmlSink& sinkOf(void* context) {
    return *static_cast<HtmlSink*>(static_cast<htmlParserCtxtPtr>(context)->_private);
}

// An element opens (step 1) or closes (step -1).
void onElement(void* context, const xmlChar* name, int step) {
    HtmlSink& sink = sinkOf(context);
    sink.yield->Check(16);
    const QByteArrayView tag(reinterpret_cast<const char*>(name));
    if (isHidden(tag))
        sink.hidden = std::max(0, sink.hidden + step);
    else if (isApart(tag))
        sink.text.Break();
}

void onText(void* context, const xmlChar* chars, int length) {
    HtmlSink& sink = sinkOf(context);
    sink.yield->Check(length);
    if (sink.hidden == 0 && length > 0)
        sink.text.Append(QString::fromUtf8(reinterpret_cast<const char*>(chars), length));
}

// Script and style text comes through here, and is not shown.
void onRawText(void* context, const xmlChar*, int length) { sinkOf(context).yield->Check(length); }

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiAlnum(QChar c) { return isAsciiLetter(c) || (c >= u'0' && c <= u'9'); }

// The longest name of a named reference is 31 characters.
constexpr qsizetype kLongestReference = 33; // "&", the name, ";"

// A slice of the page in UTF-8 for the parser, every named reference written as numeric
// ones, every NUL character left out (the parser would stop at it) and every form feed made
// a blank (the parser would drop it; it separates words like any blank).
QByteArray parserInput(QStringView slice) {
    QByteArray out;
    out.reserve(slice.size() + slice.size() / 4);
    qsizetype from = 0;
    // Both are single bytes in UTF-8, never part of a longer sequence.
    auto copyUpTo = [&](qsizetype to) {
        QByteArray part = slice.mid(from, to - from).toUtf8().replace('\f', ' ');
        out += part.removeIf([](char c) { return c == '\0'; });
    };
    for (qsizetype amp = slice.indexOf(u'&'); amp >= 0; amp = slice.indexOf(u'&', amp + 1)) {
        qsizetype end = amp + 1;
        while (end < slice.size() && end - amp < kLongestReference && isAsciiAlnum(slice[end]))
            ++end;
        if (end == amp + 1 || end >= slice.size() || slice[end] != u';' || !isAsciiLetter(slice[amp + 1]))
            continue;
        const QByteArray name = slice.mid(amp + 1, end - amp - 1).toLatin1();
        const auto entity = HtmlEntity(name.constData());
        if (!entity)
            continue;
        copyUpTo(amp);
        out += "&#" + QByteArray::number(static_cast<uint>(entity->first)) + ';';
        if (entity->second)
            out += "&#" + QByteArray::number(static_cast<uint>(entity->second)) + ';';
        from = end + 1;
        amp = end;
    }
    copyUpTo(slice.size());
    return out;
}

// Where the slice that starts at `from` ends: about kSlice characters on, but never inside a
// surrogate pair or a named reference, which are rewritten a slice at a time.
qsizetype sliceEnd(QStringView text, qsizetype from) {
    constexpr qsizetype kSlice = 1 << 15;
    qsizetype end = std::min(text.size(), from + kSlice);
    if (end == text.size())
        return end;
    if (text[end - 1].isHighSurrogate())
        --end;
    const qsizetype amp = text.lastIndexOf(u'&', end - 1);
    if (amp > from && end - amp <= kLongestReference)
        end = amp;
    return end;
}

// ---- Feeds --------------------------------------------------------------------------------

// Atom 1.0 and 0.3.
bool isAtomNamespace(QStringView uri) {
    return uri == u"http://www.w3.org/2005/Atom" || uri == u"http://purl.org/atom/ns#";
}

// The namespaces whose elements make up RSS and Atom feeds: none (RSS 2.0), RSS 1.0, RSS 0.9
// and Atom.
bool isFeedNamespace(QStringView uri) {
    return uri.isEmpty() || uri == u"http://purl.org/rss/1.0/" ||
           uri == u"http://my.netscape.com/rdf/simple/0.9/" || isAtomNamespace(uri);
}

bool isFeedRoot(QStringView name) { return name == u"rss" || name == u"RDF" || name == u"feed"; }

// The local name of the first element, when the text starts as XML.
QString rootElement(QStringView text) {
    QXmlStreamReader reader(text.left(64 * 1024).toString());
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            return reader.name().toString();
    }
    return {};
}

bool startsAsHtml(QStringView text) {
    static const QRegularExpression html(
        QStringLiteral("^\\x{feff}?\\s*(<!--.*?-->\\s*)*(<!doctype\\s+html|<html[\\s>]|<head[\\s>]|<body[\\s>])"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return html.match(text.left(4096)).hasMatch();
}

} // namespace

WebKind KindOf(const WebDocument& document) {
    const QByteArray type = document.contentType.split(';').front().trimmed().toLower();
    // Feeds are often served as text/html or text/plain: the root element decides first.
    if (type == "application/rss+xml" || type == "application/atom+xml" ||
        type == "application/rdf+xml" || isFeedRoot(rootElement(document.text)))
        return WebKind::Feed;
    if (type == "text/html" || type == "application/xhtml+xml" || startsAsHtml(document.text))
        return WebKind::Html;
    return WebKind::Text;
}

QString HtmlText(QStringView html, WorkYield& yield) {
    [[maybe_unused]] static const bool initialised = (xmlInitParser(), true);

    htmlSAXHandler sax{};
    sax.startElement = [](void* c, const xmlChar* name, const xmlChar**) { onElement(c, name, 1); };
    sax.endElement = [](void* c, const xmlChar* name) { onElement(c, name, -1); };
    sax.characters = onText;
    sax.ignorableWhitespace = onText;
    sax.cdataBlock = onRawText;

    // The page in UTF-8 with its references made numeric, built a slice at a time.
    QByteArray input;
    input.reserve(html.size() + html.size() / 8);
    for (qsizetype from = 0; from < html.size();) {
        const qsizetype end = sliceEnd(html, from);
        input += parserInput(html.mid(from, end - from));
        yield.Check(end - from);
        from = end;
    }

    HtmlSink sink{.yield = &yield};
    const std::unique_ptr<htmlParserCtxt, decltype(&htmlFreeParserCtxt)> context(
        htmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8),
        &htmlFreeParserCtxt);
    if (!context)
        throw toolkit::Error::OutOfMemory();
    // The callbacks get the parser; the sink rides on it.
    context->_private = &sink;
    // The text is decoded already: a meta tag naming another character set must not change
    // how the parser reads it.
    htmlCtxtUseOptions(context.get(), HTML_PARSE_IGNORE_ENC | HTML_PARSE_NOERROR |
                                          HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                                          HTML_PARSE_RECOVER);
    // Any handler may run inside the parser's calls; the parser, the input and the sink
    // are this call's own.
    htmlParseChunk(context.get(), input.constData(), static_cast<int>(input.size()), 1);
    return sink.text.Take();
}

QString FeedText(QStringView xml, WorkYield& yield) {
    QXmlStreamReader reader(xml.toString());
    QString feedTitle;
    QStringList titles;
    // The local names of the open feed elements; "" for an element of another vocabulary.
    std::vector<QString> open;
    qint64 read = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        yield.Check(std::max<qint64>(1, reader.characterOffset() - read));
        read = reader.characterOffset();
        if (token == QXmlStreamReader::EndElement) {
            if (!open.empty())
                open.pop_back();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const bool ours = isFeedNamespace(reader.namespaceUri());
        const QString parent = open.empty() ? QString() : open.back();
        const bool ofFeed = parent == u"channel" || (parent == u"feed" && open.size() == 1);
        const bool ofItem = parent == u"item" || parent == u"entry";
        if (!ours || reader.name() != u"title" || !(ofFeed || ofItem)) {
            open.push_back(ours ? reader.name().toString() : QString());
            continue;
        }
        const QString type = reader.attributes().value(QStringLiteral("type")).toString().toLower();
        const bool atom = isAtomNamespace(reader.namespaceUri());
        const QString raw = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        if (reader.hasError())
            break; // the title was cut off
        const bool html = atom ? type == u"html" || type == u"text/html"
                               : raw.contains(u'<') || raw.contains(u'&');
        const QString title = html ? HtmlText(raw, yield) : FoldedText(raw).Take();
        if (ofFeed && feedTitle.isEmpty())
            feedTitle = title;
        else if (ofItem && !title.isEmpty())
            titles.append(title);
    }
    if (!feedTitle.isEmpty())
        titles.prepend(feedTitle);
    return titles.join(QStringView(kFeedSeparator));
}

} // namespace WebText
