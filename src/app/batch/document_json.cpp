#include "app/batch/document_json.h"

#include "render/output/qt/text_codec.h"
#include <vector>

#include "util/json.h"

namespace varnex {
namespace {

std::string text(std::string_view codePageText) { return jsonString(fromCodePage(codePageText).toStdString()); }

class ObjectWriter {
public:
    explicit ObjectWriter(std::string& out) : m_out(out) { m_out += '{'; }
    void key(const char* name) {
        if (!m_first) m_out += ',';
        m_first = false;
        m_out += '"';
        m_out += name;
        m_out += "\":";
    }
    void field(const char* name, const std::string& jsonValue) {
        key(name);
        m_out += jsonValue;
    }
    void number(const char* name, double value) { field(name, jsonNumber(value)); }
    void integer(const char* name, long long value) { field(name, std::to_string(value)); }
    void end() { m_out += '}'; }

private:
    std::string& m_out;
    bool m_first = true;
};

// Items already in JSON form, as a JSON array.
std::string array(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        out += items[i];
    }
    out += ']';
    return out;
}

std::string pointArray(std::span<const double> values, int count) {
    std::string out = "[";
    for (int j = 1; j <= count; ++j) {
        if (j > 1) out += ',';
        out += jsonNumber(values[static_cast<std::size_t>(j)]);
    }
    out += ']';
    return out;
}

std::string setJson(const DataSet& set, bool points) {
    std::string out;
    ObjectWriter o(out);
    o.field("title", text(set.title()));
    o.field("name", text(set.name()));
    o.integer("count", set.count);
    o.integer("interp", set.params.interp);
    o.integer("linetype", set.params.linetype);
    o.integer("marker", set.params.marker);
    o.integer("shape", set.params.shape);
    o.integer("errorbar", set.errorbar ? 1 : 0);
    o.integer("ascending", set.ascending ? 1 : 0);
    o.integer("datapos", set.datapos);
    o.integer("titlepos", set.titlepos);
    if (points && set.storage) {
        o.field("x", pointArray(set.xs(), set.count));
        o.field("y", pointArray(set.ys(), set.count));
    }
    o.end();
    return out;
}

}  // namespace

std::string documentJson(const ViewList& views, bool points) {
    const Document& doc = views.current();
    std::string out;
    ObjectWriter o(out);

    std::vector<std::string> files;
    for (int i = 0; i < doc.files.count(); ++i) files.push_back(text(doc.files.name(i)));
    o.field("files", array(files));
    std::vector<std::string> filesets;
    for (int j = 1; j <= doc.files.appendedCount(); ++j) {
        filesets.push_back(std::to_string(doc.filesets[static_cast<std::size_t>(j)]));
    }
    o.field("filesets", array(filesets));

    o.field("vtitle", text(doc.vtitle));
    o.field("xtitle", text(doc.xtitle));
    o.field("ytitle", text(doc.ytitle));
    o.field("xfont", text(doc.xfont));
    o.field("yfont", text(doc.yfont));
    o.integer("xtype", doc.xtype);
    o.integer("ytype", doc.ytype);
    o.integer("xsize", doc.xsize);
    o.integer("ysize", doc.ysize);
    o.number("xmin", doc.xmin);
    o.number("xmax", doc.xmax);
    o.number("ymin", doc.ymin);
    o.number("ymax", doc.ymax);
    o.number("dataxmin", doc.dataxmin);
    o.number("dataxmax", doc.dataxmax);
    o.number("dataymin", doc.dataymin);
    o.number("dataymax", doc.dataymax);
    o.number("printw", doc.printw);
    o.number("framewidth", doc.framewidth);
    o.number("graphwidth", doc.graphwidth);
    o.number("markersize", doc.markersize);
    o.integer("view", views.indexOfCurrent());
    o.integer("views", views.viewCount());

    o.key("sets");
    out += '[';
    for (int i = 1; i <= doc.data; ++i) {
        if (i > 1) out += ',';
        out += setJson(doc.sets[static_cast<std::size_t>(i)], points);
    }
    out += ']';
    o.end();
    out += '\n';
    return out;
}

}  // namespace varnex
