#include "PageScripts.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace tavio::pagescripts {

namespace {

// Failures inside the document are of no interest to the program: every script
// catches its own errors.
const char16_t kAppend[] = uR"js(
(function (html) {
    try {
        if (document.body)
            document.body.insertAdjacentHTML('beforeend', html);
    } catch (e) {}
})(%1);
)js";

const char16_t kBorder[] = uR"js(
(function (style) {
    try {
        if (document.body)
            document.body.style.border = style;
    } catch (e) {}
})(%1);
)js";

// The whole text of the body is searched at once, so that a match may run across
// element boundaries ("<b>Pro</b>měnná"). Each text node keeps its offset in that
// text. Where the page shows a line break (a new block, <br>) the text gets a line
// break too, which belongs to no node, so that words of two paragraphs do not run
// together. A blank in the phrase stands for any run of white space, as the page shows
// a line break of its source as a blank.
const char16_t kPageText[] = uR"js(
function tavioPageText(body) {
    var skipped = { script: 1, style: 1, textarea: 1, noscript: 1, select: 1, option: 1, optgroup: 1,
                    template: 1, iframe: 1, object: 1 };
    var blocks = { address: 1, article: 1, aside: 1, blockquote: 1, caption: 1, center: 1, dd: 1,
                   details: 1, dialog: 1, div: 1, dl: 1, dt: 1, fieldset: 1, figcaption: 1, figure: 1,
                   footer: 1, form: 1, h1: 1, h2: 1, h3: 1, h4: 1, h5: 1, h6: 1, header: 1, legend: 1, li: 1,
                   main: 1, nav: 1, ol: 1, p: 1, pre: 1, section: 1, summary: 1, table: 1, tbody: 1, td: 1,
                   tfoot: 1, th: 1, thead: 1, tr: 1, ul: 1 };
    var htmlNamespace = 'http://www.w3.org/1999/xhtml';

    // Per element: its nearest block, or null when its text is not page text (scripts,
    // styles, form fields, SVG). Worked out once per element.
    var blockOf = new Map();
    blockOf.set(body, body);
    var nearestBlock = function (el) {
        var result = blockOf.get(el);
        if (result !== undefined)
            return result;
        var chain = [];
        for (var e = el; e && (result = blockOf.get(e)) === undefined; e = e.parentNode)
            chain.push(e);
        if (result === undefined)
            result = null;
        for (var i = chain.length - 1; i >= 0; --i) {
            var c = chain[i];
            if (result !== null) {
                if (c.namespaceURI !== htmlNamespace || skipped[c.localName] === 1)
                    result = null;
                else if (blocks[c.localName] === 1)
                    result = c;
            }
            blockOf.set(c, result);
        }
        return result;
    };
    // The text after a line break or a rule starts a new line.
    var afterBreak = new Set();
    var breaks = body.querySelectorAll('br, hr');
    if (breaks.length > 0) {
        var seek = document.createTreeWalker(body, NodeFilter.SHOW_TEXT);
        for (var i = 0; i < breaks.length; ++i) {
            seek.currentNode = breaks[i];
            var next = seek.nextNode();
            if (next)
                afterBreak.add(next);
        }
    }

    var walker = document.createTreeWalker(body, NodeFilter.SHOW_TEXT);
    var nodes = [], starts = [], lengths = [], parts = [], total = 0, lastBlock = null;
    for (var n = walker.nextNode(); n; n = walker.nextNode()) {
        var t = n.data;
        if (t.length === 0)
            continue;
        var block = nearestBlock(n.parentNode);
        if (block === null)
            continue;
        if (nodes.length > 0 && (block !== lastBlock || afterBreak.has(n))) {
            parts.push('\n');
            total += 1;
        }
        lastBlock = block;
        nodes.push(n); starts.push(total); lengths.push(t.length); parts.push(t);
        total += t.length;
    }
    return {
        nodes: nodes, starts: starts, lengths: lengths, text: parts.join(''),
        // The last text node that starts at or before the offset.
        nodeAt: function (offset) {
            var lo = 0, hi = starts.length - 1;
            while (lo < hi) {
                var mid = (lo + hi + 1) >> 1;
                if (starts[mid] <= offset) lo = mid; else hi = mid - 1;
            }
            return lo;
        }
    };
}

// Every match of the phrase in the text, as [start, end, start, end, ...].
function tavioMatches(text, phrase, wholeWords, matchCase) {
    var source = phrase.split(/(\s+)/).map(function (piece, i) {
        if (i % 2 === 1)
            return '\\s+';
        return piece.replace(/[\\^$.*+?()[\]{}|\/]/g, '\\$&');
    }).join('');
    if (wholeWords)
        source = '(?<![\\p{L}\\p{N}\\p{M}])(?:' + source + ')(?![\\p{L}\\p{N}\\p{M}])';
    var re = new RegExp(source, matchCase ? 'gu' : 'giu');
    var found = [];
    var m;
    while ((m = re.exec(text)) !== null) {
        if (m[0].length === 0) {
            re.lastIndex++;
            continue;
        }
        found.push(m.index, m.index + m[0].length);
    }
    return found;
}
)js";

// Matches are wrapped back to front, each text-node piece of a match in its own span,
// so that the offsets of the matches still to come stay valid.
const char16_t kHighlight[] = uR"js(
(function (phrase, wholeWords, matchCase) {
    try {
        var body = document.body;
        if (!body || phrase.length === 0)
            return 0;
        // Parents in which a span would be a layout box of its own.
        var structural = { table: 1, thead: 1, tbody: 1, tfoot: 1, tr: 1, colgroup: 1, ul: 1, ol: 1, dl: 1 };
        var page = tavioPageText(body);
        var nodes = page.nodes, starts = page.starts, lengths = page.lengths;
        var found = tavioMatches(page.text, phrase, wholeWords, matchCase);
        if (found.length === 0)
            return 0;

        // Spans are made back to front: the last one made is the first on the page.
        var first = null, highlighted = 0;
        for (var k = found.length - 2; k >= 0; k -= 2) {
            var s = found[k], e = found[k + 1], made = false;
            for (var i = page.nodeAt(e - 1); i >= 0 && starts[i] + lengths[i] > s; --i) {
                var node = nodes[i];
                var parent = node.parentNode;
                var a = Math.max(s, starts[i]) - starts[i];
                var b = Math.min(e, starts[i] + lengths[i]) - starts[i];
                if (!parent || b <= a)
                    continue;
                if (structural[parent.localName] === 1 && /^\s*$/.test(node.data.substring(a, b)))
                    continue;
                // The node keeps its text before the match; earlier matches only use that part.
                var piece = a > 0 ? node.splitText(a) : node;
                if (b - a < piece.data.length)
                    piece.splitText(b - a);
                var span = document.createElement('span');
                span.setAttribute('style', 'color:black; background-color: lime; font-weight: bolder;');
                span.className = 'tavio-hl';
                parent.replaceChild(span, piece);
                span.appendChild(piece);
                first = span;
                made = true;
            }
            if (made)
                ++highlighted;
        }
        if (first)
            first.scrollIntoView(true);
        return highlighted;
    } catch (e) {
        return -1;
    }
})(%1, %2, %3);
)js";

// Selects the next match after the selection (or the previous one before it), from
// the other end of the page when there is none, scrolls it into sight and gives its
// rectangle in the view, [left, top, width, height], or null when there is no match.
const char16_t kFind[] = uR"js(
(function (phrase, wholeWords, matchCase, backward) {
    try {
        var body = document.body;
        if (!body || phrase.length === 0)
            return null;
        var page = tavioPageText(body);
        var found = tavioMatches(page.text, phrase, wholeWords, matchCase);
        if (found.length === 0)
            return null;
        var offsetOf = function (container, offset) {
            var i = page.nodes.indexOf(container);
            return i < 0 ? -1 : page.starts[i] + offset;
        };
        var selection = window.getSelection();
        var from = -1, to = -1;
        if (selection.rangeCount > 0) {
            var current = selection.getRangeAt(0);
            from = offsetOf(current.startContainer, current.startOffset);
            to = offsetOf(current.endContainer, current.endOffset);
        }
        var k = -1;
        if (backward) {
            var before = from < 0 ? page.text.length : from;
            for (var j = found.length - 2; j >= 0 && k < 0; j -= 2)
                if (found[j + 1] <= before)
                    k = j;
            if (k < 0)
                k = found.length - 2;
        } else {
            var after = to < 0 ? 0 : to;
            for (var j = 0; j < found.length && k < 0; j += 2)
                if (found[j] >= after)
                    k = j;
            if (k < 0)
                k = 0;
        }
        var s = found[k], e = found[k + 1];
        var first = page.nodeAt(s), last = page.nodeAt(e - 1);
        var range = document.createRange();
        range.setStart(page.nodes[first], Math.min(Math.max(s - page.starts[first], 0), page.lengths[first]));
        range.setEnd(page.nodes[last], Math.min(e - page.starts[last], page.lengths[last]));
        selection.removeAllRanges();
        selection.addRange(range);
        var r = range.getBoundingClientRect();
        if (r.top < 0 || r.bottom > window.innerHeight || r.left < 0 || r.right > window.innerWidth) {
            window.scrollBy(r.left < 0 || r.right > window.innerWidth ? r.left - window.innerWidth / 3 : 0,
                            r.top - window.innerHeight / 3);
            r = range.getBoundingClientRect();
        }
        return [r.left, r.top, r.width, r.height];
    } catch (e) {
        return null;
    }
})(%1, %2, %3, %4);
)js";

// Installed in every document before its own scripts run. A link the user activates
// (a trusted click, middle click or Enter) that leaves the document's folder, asks for
// another window or carries a modifier is not followed by the page: the address goes
// to the program as a console message that only this script can write, since the
// marker is known to the application's world alone. A plain click on a link into the
// same folder is left to the page and arrives as a navigation.
const char16_t kLinkFollower[] = uR"js(
(function (marker) {
    var folder = function (path) { return path.substring(0, path.lastIndexOf('/') + 1); };
    var schemes = { 'http:': 1, 'https:': 1, 'ftp:': 1, 'mailto:': 1, 'file:': 1 };
    var report = console.log.bind(console);
    var follow = function (e) {
        try {
            if (!e.isTrusted || !e.target || !e.target.closest)
                return;
            var a = e.target.closest('a[href], area[href]');
            if (!a)
                return;
            var url = new URL(a.href, document.baseURI);
            if (schemes[url.protocol] !== 1)
                return;
            var plain = e.type === 'click' && e.button === 0 && !e.ctrlKey && !e.shiftKey && !e.metaKey && !e.altKey;
            var target = (a.getAttribute('target') || '').toLowerCase();
            var here = url.protocol === 'file:' && location.protocol === 'file:' && url.host === location.host
                && folder(url.pathname) === folder(location.pathname);
            if (plain && here && (target === '' || target === '_self' || target === '_top' || target === '_parent'))
                return;
            e.preventDefault();
            report(marker + url.href);
        } catch (x) {}
    };
    window.addEventListener('click', follow, true);
    window.addEventListener('auxclick', follow, true);
})(%1);
)js";

// Every match of the phrase gets a box laid over it, in a layer of its own at the end
// of the body, so that the page's text nodes and the selection stay as they are. The
// match the selection holds gets the box of its own colour. Gives [current, total],
// current 0 when the selection holds none of them. An empty phrase only clears.
const char16_t kMarkAll[] = uR"js(
(function (phrase, wholeWords, matchCase) {
    try {
        var old = document.getElementById('tavio-find-layer');
        if (old)
            old.remove();
        var body = document.body;
        if (!body || phrase.length === 0)
            return [0, 0];
        var page = tavioPageText(body);
        var found = tavioMatches(page.text, phrase, wholeWords, matchCase);
        var total = found.length / 2;
        if (total === 0)
            return [0, 0];
        var selection = window.getSelection();
        var from = -1;
        if (selection.rangeCount > 0) {
            var r0 = selection.getRangeAt(0);
            var i0 = page.nodes.indexOf(r0.startContainer);
            if (i0 >= 0)
                from = page.starts[i0] + r0.startOffset;
        }
        var layer = document.createElement('div');
        layer.id = 'tavio-find-layer';
        layer.setAttribute('style', 'position:absolute; left:0; top:0; width:0; height:0; pointer-events:none; z-index:2147483646');
        var current = 0;
        var limit = Math.min(total, 5000);
        var range = document.createRange();
        for (var k = 0; k < limit; ++k) {
            var s = found[2 * k], e = found[2 * k + 1];
            var isCurrent = s === from;
            if (isCurrent)
                current = k + 1;
            var first = page.nodeAt(s), last = page.nodeAt(e - 1);
            range.setStart(page.nodes[first], Math.min(Math.max(s - page.starts[first], 0), page.lengths[first]));
            range.setEnd(page.nodes[last], Math.min(e - page.starts[last], page.lengths[last]));
            var rects = range.getClientRects();
            for (var j = 0; j < rects.length; ++j) {
                var r = rects[j];
                var box = document.createElement('div');
                box.setAttribute('style', 'position:absolute; left:' + (r.left + window.scrollX) + 'px; top:'
                    + (r.top + window.scrollY) + 'px; width:' + r.width + 'px; height:' + r.height + 'px; '
                    + (isCurrent ? 'background: rgba(255,140,0,0.55); outline: 2px solid #d05a00;'
                                 : 'background: rgba(255,230,0,0.45);'));
                layer.appendChild(box);
            }
        }
        body.appendChild(layer);
        return [current, total];
    } catch (e) {
        return [0, 0];
    }
})(%1, %2, %3);
)js";

// A JavaScript string literal holding the text, whatever it holds: a one-element JSON
// array less its brackets, as JSON escaping is valid JavaScript.
} // namespace

QString literal(const QString& text)
{
    const QByteArray json = QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString fill(const char16_t* script, const QString& text)
{
    return QString::fromUtf16(script).arg(literal(text));
}

QString appendToBody(const QString& fragment)
{
    return fill(kAppend, fragment);
}

QString bodyBorder(const QString& style)
{
    return fill(kBorder, style);
}

QString highlight(const QString& phrase, bool wholeWords, bool matchCase)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return QString(QString::fromUtf16(kPageText) + QString::fromUtf16(kHighlight))
        .arg(literal(phrase), flag(wholeWords), flag(matchCase));
}

QString findOnPage(const QString& phrase, bool wholeWords, bool matchCase, bool backward)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return QString(QString::fromUtf16(kPageText) + QString::fromUtf16(kFind))
        .arg(literal(phrase), flag(wholeWords), flag(matchCase), flag(backward));
}

QString linkFollower(const QString& marker)
{
    return fill(kLinkFollower, marker);
}

QString markAllMatches(const QString& phrase, bool wholeWords, bool matchCase)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return QString(QString::fromUtf16(kPageText) + QString::fromUtf16(kMarkAll))
        .arg(literal(phrase), flag(wholeWords), flag(matchCase));
}

} // namespace tavio::pagescripts
