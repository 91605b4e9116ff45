#include "app/ModuleMain.h"

#include "app/FormMain.h"
#include "toolkit/App.h"
#include "toolkit/Lifecycle.h"
#include "app/WebText.h"
#include "toolkit/WorkYield.h"

#include <QStringView>

#include <algorithm>
#include <memory>

namespace ModuleMain {

QString TitleAndVersion() {
    return toolkit::AppTitle() + QLatin1Char(' ') + QString::number(toolkit::AppMajor()) +
           QLatin1Char('.') + QString::number(toolkit::AppMinor());
}

void Main() {
    // A logout cannot wait for an answer to "Quit ?". The end also ends the modal loops still
    // open (a question, a dialog).
    toolkit::OnTerminationSignal([] {
        for (const auto& panel : FormMain::LoadedPanels())
            panel->UnloadWithoutQuery();
        toolkit::EndApplication();
    });
    auto panel = std::make_shared<FormMain>();
    panel->Load();
    panel->SetCaption(TitleAndVersion());
    panel->Show(toolkit::vbModeless, nullptr);
}

// ---- Text cleanup --------------------------------------------------------------------------

namespace {

// Searches are cut into slices so that the work between two looks at the clock stays short
// even when a delimiter is megabytes away.
constexpr qsizetype kSlice = 1 << 16;

// Index of the first `what` at or after `from` in text, -1 if there is none.
qsizetype FindSliced(QStringView text, QStringView what, qsizetype from, toolkit::WorkYield& yield) {
    const qsizetype n = text.size();
    const qsizetype m = what.size();
    while (from <= n - m) {
        // A slice overlaps the next one by m - 1 characters, so no match is missed at its end.
        const qsizetype len = std::min(kSlice + m - 1, n - from);
        const QStringView slice = text.mid(from, len);
        // The one-character search is the vectorised one; pairs look for their first half.
        qsizetype at = slice.indexOf(what[0]);
        if (m > 1) {
            while (at >= 0 && !slice.sliced(at).startsWith(what))
                at = slice.indexOf(what[0], at + 1);
        }
        yield.Check(len);
        if (at >= 0)
            return from + at;
        from += kSlice;
    }
    return -1;
}

// FindSliced for one character. Tags and the words between them are short, so a plain look
// at the next few characters usually finds it before a vectorised search would start.
qsizetype FindChar(QStringView text, QChar c, qsizetype from, toolkit::WorkYield& yield) {
    const qsizetype near = std::min(from + 48, text.size());
    for (qsizetype i = from; i < near; ++i) {
        if (text[i] == c) {
            yield.Check(i - from);
            return i;
        }
    }
    yield.Check(near - from);
    return near < text.size() ? FindSliced(text, QStringView(&c, 1), near, yield) : -1;
}

// Single-character delimiters, the panel's case: what is kept is a subsequence of the text in
// its order, so it is moved down in place and the text never exists twice.
void StripSingle(QString& rstrText, QChar open, QChar close, toolkit::WorkYield& yield) {
    QChar* d = rstrText.data();
    const QStringView text(d, rstrText.size());
    qsizetype w = 0; // end of what is kept
    qsizetype r = 0; // start of what is not yet looked at
    auto keep = [&](qsizetype from, qsizetype to) {
        if (w != from)
            std::copy(d + from, d + to, d + w);
        w += to - from;
    };
    for (;;) {
        const qsizetype a = FindChar(text, open, r, yield);
        if (a < 0) {
            keep(r, text.size());
            break;
        }
        keep(r, a);
        const qsizetype b = FindChar(text, close, a + 1, yield);
        if (b < 0) {
            keep(a, text.size());
            break;
        }
        r = b + 1;
    }
    rstrText.truncate(w);
}

// Longer delimiters, which the panel never passes: cut and search again from the start, as
// the procedure is defined. Quadratic, and left so.
void StripSteps(QString& rstrText, const QString& open, const QString& close,
                toolkit::WorkYield& yield) {
    qsizetype a = rstrText.indexOf(open);
    while (a >= 0) {
        const qsizetype b = rstrText.indexOf(close, a + 1);
        if (b < 0)
            break;
        rstrText.remove(a, b + 1 - a);
        a = rstrText.indexOf(open);
        yield.Check(rstrText.size());
    }
}

} // namespace

bool ReplaceNewLine(QString& rstrText, QString vstrReplace) {
    toolkit::WorkYield yield;
    const QStringView text(rstrText);
    // The first kind of break found, in this order, is the one replaced.
    QStringView lineBreak;
    qsizetype first = -1;
    for (const char16_t* kind : {u"\r\n", u"\n", u"\r"}) {
        lineBreak = kind;
        if ((first = FindSliced(text, lineBreak, 0, yield)) >= 0)
            break;
    }
    if (first < 0)
        return false;
    const qsizetype k = lineBreak.size();
    // A replacement longer than the break, which the panel never passes, makes a new text.
    if (vstrReplace.size() > k) {
        rstrText.replace(lineBreak.toString(), vstrReplace);
        return true;
    }
    // Nothing grows, so the text is rewritten in place from the first break on, in one plain
    // pass: breaks are frequent, and a search call per break costs more than it finds.
    QChar* d = rstrText.data();
    const qsizetype n = rstrText.size();
    const QChar first0 = lineBreak[0];
    const bool pair = k == 2;
    const QChar* const rep = vstrReplace.constData();
    const qsizetype repSize = vstrReplace.size();
    qsizetype w = first;
    qsizetype r = first;
    while (r < n) {
        const qsizetype stop = std::min(n, r + 8192);
        while (r < stop) {
            const QChar c = d[r];
            if (c == first0 && (!pair || (r + 1 < n && d[r + 1] == u'\n'))) {
                for (qsizetype i = 0; i < repSize; ++i)
                    d[w++] = rep[i];
                r += k;
            } else {
                d[w++] = c;
                ++r;
            }
        }
        yield.Check(8192);
    }
    rstrText.truncate(w);
    return true;
}

void StripEnclosed(QString& rstrText, QString vstrOpen, QString vstrClose) {
    if (vstrOpen.isEmpty() || vstrClose.isEmpty())
        return;
    toolkit::WorkYield yield;
    if (vstrOpen.size() == 1 && vstrClose.size() == 1)
        StripSingle(rstrText, vstrOpen[0], vstrClose[0], yield);
    else
        StripSteps(rstrText, vstrOpen, vstrClose, yield);
}

QString WebStripText(const toolkit::WebDocument& document) {
    toolkit::WorkYield yield;
    switch (WebText::KindOf(document)) {
    case WebText::WebKind::Html:
        return WebText::HtmlText(document.text, yield);
    case WebText::WebKind::Feed:
        if (QString titles = WebText::FeedText(document.text, yield); !titles.isEmpty())
            return titles;
        break;
    case WebText::WebKind::Text:
        break;
    }
    QString text = document.text;
    ReplaceNewLine(text, QStringLiteral(" "));
    StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    return text;
}

// ---- End of text cleanup -------------------------------------------------------------------

} // namespace ModuleMain
