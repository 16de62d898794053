#include "platform/ui/WebView.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Painter.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>

namespace ui {

namespace {

std::shared_ptr<WebContentLoader>& installedLoader()
{
    static std::shared_ptr<WebContentLoader> loader;
    return loader;
}

std::map<std::string, WebLoadResult>& cache()
{
    static std::map<std::string, WebLoadResult> answers;
    return answers;
}

WebError makeError(int code, std::string description)
{
    return { WebError::urlDomain, code, std::move(description) };
}

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string percentDecoded(const std::string& text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::string decodeEntities(const std::string& text)
{
    static const std::pair<const char*, const char*> entities[] = {
        { "&amp;", "&" }, { "&lt;", "<" }, { "&gt;", ">" }, { "&quot;", "\"" }, { "&#39;", "'" }, { "&nbsp;", " " },
    };
    std::string out = text;
    for (const auto& [entity, plain] : entities) {
        std::string from = entity;
        for (auto at = out.find(from); at != std::string::npos; at = out.find(from, at + 1))
            out.replace(at, from.size(), plain);
    }
    return out;
}

std::string collapseSpaces(const std::string& text)
{
    std::string out;
    bool space = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

// An address relative to the page's address made absolute.
std::string resolve(const std::string& base, const std::string& link)
{
    if (!Application::schemeOf(link).empty() || base.empty())
        return link;
    std::string scheme = Application::schemeOf(base);
    auto afterScheme = base.find("://");
    if (link.rfind("//", 0) == 0)
        return scheme + ":" + link;
    if (afterScheme == std::string::npos)
        return link;
    auto pathStart = base.find('/', afterScheme + 3);
    std::string origin = pathStart == std::string::npos ? base : base.substr(0, pathStart);
    if (!link.empty() && link.front() == '/')
        return origin + link;
    auto lastSlash = base.rfind('/');
    std::string directory = lastSlash == std::string::npos || lastSlash < afterScheme + 3 ? origin + "/" : base.substr(0, lastSlash + 1);
    return directory + link;
}

struct ParsedPage {
    std::string title;
    std::string text;
    std::vector<std::string> links;
};

// Enough of HTML for what the view shows: the title, the text outside markup (scripts and
// styles left out) and the targets of the links.
ParsedPage parse(const std::string& html, const std::string& base)
{
    ParsedPage page;
    std::string lower = lowercase(html);
    if (auto open = lower.find("<title"); open != std::string::npos) {
        auto start = lower.find('>', open);
        auto end = lower.find("</title", start == std::string::npos ? open : start);
        if (start != std::string::npos && end != std::string::npos)
            page.title = collapseSpaces(decodeEntities(html.substr(start + 1, end - start - 1)));
    }
    std::string text;
    std::size_t i = 0;
    while (i < html.size()) {
        if (html[i] != '<') {
            text += html[i++];
            continue;
        }
        auto close = html.find('>', i);
        if (close == std::string::npos)
            break;
        std::string tag = lower.substr(i + 1, close - i - 1);
        if (tag.rfind("script", 0) == 0 || tag.rfind("style", 0) == 0 || tag.rfind("title", 0) == 0) {
            std::string name = tag.substr(0, tag.find_first_of(" \t\r\n>"));
            auto end = lower.find("</" + name, close);
            close = end == std::string::npos ? html.size() - 1 : lower.find('>', end);
            if (close == std::string::npos)
                break;
        } else if (tag.rfind("a ", 0) == 0 || tag.rfind("a\t", 0) == 0 || tag.rfind("a\n", 0) == 0) {
            auto href = tag.find("href");
            if (href != std::string::npos) {
                auto equals = tag.find('=', href);
                if (equals != std::string::npos) {
                    std::size_t start = equals + 1;
                    while (start < tag.size() && std::isspace(static_cast<unsigned char>(tag[start])))
                        ++start;
                    char quote = start < tag.size() && (tag[start] == '"' || tag[start] == '\'') ? tag[start] : 0;
                    std::size_t from = quote ? start + 1 : start;
                    std::size_t to = quote ? tag.find(quote, from) : tag.find_first_of(" \t\r\n", from);
                    if (to == std::string::npos)
                        to = tag.size();
                    // The original text keeps the case the address was written in.
                    std::string target = decodeEntities(html.substr(i + 1 + from, to - from));
                    if (!target.empty() && target.front() != '#')
                        page.links.push_back(resolve(base, target));
                }
            }
        }
        text += ' ';
        i = close + 1;
    }
    page.text = collapseSpaces(decodeEntities(text));
    return page;
}

} // namespace

WebView::WebView()
    : WebView(Rect {})
{
}

WebView::WebView(const Rect& frame)
    : View(frame)
{
    setBackgroundColor(Color::whiteColor());
    setClipsToBounds(true);
}

WebView::~WebView()
{
    cancelLoad(false);
}

std::string WebView::displayText() const
{
    if (!m_title.empty())
        return m_title;
    return m_pageText.size() > 200 ? m_pageText.substr(0, 200) : m_pageText;
}

void WebView::setDefaultContentLoader(std::shared_ptr<WebContentLoader> loader)
{
    installedLoader() = std::move(loader);
}

std::shared_ptr<WebContentLoader> WebView::defaultContentLoader()
{
    return installedLoader();
}

void WebView::clearCache()
{
    cache().clear();
}

std::shared_ptr<WebContentLoader> WebView::activeLoader() const
{
    return m_loader ? m_loader : installedLoader();
}

void WebView::loadRequest(const URLRequest& request)
{
    startNavigation(request, WebViewNavigationType::Other, std::nullopt);
}

void WebView::loadHTMLString(const std::string& html, const std::string& baseURL)
{
    startNavigation({ baseURL.empty() ? "about:blank" : baseURL }, WebViewNavigationType::Other, html);
}

void WebView::reload()
{
    if (m_request.url.empty())
        return;
    URLRequest again = m_request;
    startNavigation(again, WebViewNavigationType::Reload, m_inlineHTML);
}

void WebView::navigate(const URLRequest& request, WebViewNavigationType type)
{
    startNavigation(request, type, std::nullopt);
}

void WebView::stopLoading()
{
    cancelLoad(false);
}

void WebView::cancelLoad(bool report)
{
    if (!m_loading)
        return;
    m_loading = false;
    ++m_generation;
    if (auto loader = activeLoader())
        loader->cancel(m_request);
    if (report && m_delegate)
        m_delegate->didFailLoadWithError(*this, makeError(WebError::cancelled, "The load was cancelled."));
}

void WebView::startNavigation(const URLRequest& request, WebViewNavigationType type, std::optional<std::string> html)
{
    if (m_delegate && !m_delegate->shouldStartLoadWithRequest(*this, request, type))
        return;
    cancelLoad(true);
    m_request = request;
    m_inlineHTML = std::move(html);
    m_loading = true;
    std::uint64_t generation = ++m_generation;
    std::weak_ptr<const void> guard = m_lifetime;
    foundation::RunLoop::main().performAfterDelay(0, guard, [this, generation] {
        if (generation != m_generation || !m_loading)
            return;
        if (m_delegate)
            m_delegate->webViewDidStartLoad(*this);
        beginLoad(generation);
    });
}

void WebView::beginLoad(std::uint64_t generation)
{
    if (generation != m_generation || !m_loading)
        return;
    if (m_inlineHTML) {
        finish(generation, { std::nullopt, 200, "text/html", *m_inlineHTML });
        return;
    }
    std::string scheme = Application::schemeOf(m_request.url);
    if (m_request.url == "about:blank") {
        finish(generation, { std::nullopt, 200, "text/html", {} });
        return;
    }
    if (scheme == "file") {
        std::string path = percentDecoded(m_request.url.substr(std::string("file://").size()));
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        if (!file) {
            fail(generation, makeError(WebError::fileDoesNotExist, "The file " + path + " does not exist."));
            return;
        }
        auto size = static_cast<std::size_t>(file.tellg());
        if (size > maximumFileSize) {
            fail(generation, makeError(WebError::dataLengthExceedsMaximum, "The file " + path + " is too large to show."));
            return;
        }
        std::string body(size, '\0');
        file.seekg(0);
        file.read(body.data(), static_cast<std::streamsize>(size));
        std::string lowerPath = lowercase(path);
        bool html = lowerPath.ends_with(".html") || lowerPath.ends_with(".htm");
        finish(generation, { std::nullopt, 200, html ? "text/html" : "text/plain", std::move(body) });
        return;
    }
    if (scheme == "http" || scheme == "https") {
        loadFromWeb(generation);
        return;
    }
    fail(generation, makeError(WebError::unsupportedURL, "The address " + m_request.url + " cannot be shown here."));
}

void WebView::loadFromWeb(std::uint64_t generation)
{
    auto policy = m_request.cachePolicy;
    if (policy == URLRequestCachePolicy::ReturnCacheDataElseLoad || policy == URLRequestCachePolicy::ReturnCacheDataDontLoad) {
        if (auto kept = cache().find(m_request.url); kept != cache().end()) {
            finish(generation, kept->second);
            return;
        }
        if (policy == URLRequestCachePolicy::ReturnCacheDataDontLoad) {
            fail(generation, makeError(WebError::resourceUnavailable, "The page is not in the cache."));
            return;
        }
    }
    auto loader = activeLoader();
    if (!loader) {
        fail(generation, makeError(WebError::notConnectedToInternet, "The device is offline: no network loader is installed."));
        return;
    }
    std::weak_ptr<const void> guard = m_lifetime;
    double timeout = m_request.timeoutInterval > 0 ? m_request.timeoutInterval : URLRequest::defaultTimeoutInterval;
    foundation::RunLoop::main().performAfterDelay(timeout, guard, [this, generation] {
        if (generation != m_generation || !m_loading)
            return;
        if (auto active = activeLoader())
            active->cancel(m_request);
        fail(generation, makeError(WebError::timedOut, "The request timed out."));
    });
    URLRequest request = m_request;
    loader->load(request, [this, guard, generation, url = request.url](WebLoadResult result) {
        foundation::RunLoop::main().post([this, guard, generation, url, result = std::move(result)] {
            if (guard.expired() || generation != m_generation || !m_loading)
                return;
            if (result.error) {
                fail(generation, *result.error);
                return;
            }
            cache()[url] = result;
            finish(generation, result);
        });
    });
}

void WebView::finish(std::uint64_t generation, const WebLoadResult& result)
{
    if (generation != m_generation || !m_loading)
        return;
    m_loading = false;
    m_content = result.body;
    m_mimeType = result.mimeType;
    if (m_mimeType.find("html") != std::string::npos) {
        auto page = parse(m_content, m_request.url);
        m_title = std::move(page.title);
        m_pageText = std::move(page.text);
        m_links = std::move(page.links);
    } else {
        m_title.clear();
        m_pageText = collapseSpaces(m_content);
        m_links.clear();
    }
    contentChanged();
    if (m_delegate)
        m_delegate->webViewDidFinishLoad(*this);
}

void WebView::fail(std::uint64_t generation, WebError error)
{
    if (generation != m_generation || !m_loading)
        return;
    m_loading = false;
    if (m_delegate)
        m_delegate->didFailLoadWithError(*this, error);
}

void WebView::touchesEnded(const Touch& touch)
{
    if (!bounds().contains(touch.locationIn(*this)) || m_links.empty())
        return;
    navigate({ m_links.front() }, WebViewNavigationType::LinkClicked);
}

void WebView::draw(Painter& painter)
{
    if (m_mimeType.find("html") != std::string::npos && !m_content.empty() && painter.drawHTML(m_content, bounds()))
        return;
    TextStyle style;
    style.font = Font::systemFontOfSize(12);
    style.lineBreakMode = LineBreakMode::WordWrap;
    style.numberOfLines = 0;
    style.centerVertically = false;
    std::string shown = m_title.empty() ? m_pageText : m_title + "\n" + m_pageText;
    painter.drawText(shown, bounds().insetBy(4, 4), style);
}

void WebView::describe(ViewDescription& description) const
{
    View::describe(description);
    description.setText("url", m_request.url);
    description.setFlag("loading", m_loading);
}

} // namespace ui
