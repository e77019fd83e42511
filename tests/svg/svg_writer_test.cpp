// The SVG document: well-formed XML (read back with expat), SVG 1.1 with
// nothing outside itself, generic fonts, sizes in points, every label as
// text with its characters kept or replaced safely, the same bytes for the
// same plot.
#include "svg/svg_writer.h"

#include <expat.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "svg/xml_text.h"

namespace marvist {
namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // character data directly inside
};

// The document's elements in order, or an empty list and the parser's
// message when it is not well-formed.
struct Parsed {
    std::vector<Element> elements;
    std::string error;
};

Parsed parse(const std::string& xml) {
    Parsed out;
    std::vector<std::size_t> open;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    struct State {
        Parsed* out;
        std::vector<std::size_t>* open;
    } state{&out, &open};
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            auto* s = static_cast<State*>(data);
            Element e{name, {}, {}};
            for (int i = 0; attributes[i]; i += 2) e.attributes[attributes[i]] = attributes[i + 1];
            s->open->push_back(s->out->elements.size());
            s->out->elements.push_back(std::move(e));
        },
        [](void* data, const XML_Char*) { static_cast<State*>(data)->open->pop_back(); });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* text, int length) {
        auto* s = static_cast<State*>(data);
        if (!s->open->empty()) s->out->elements[s->open->back()].text.append(text, length);
    });
    if (XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_ERROR) {
        out.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                    std::to_string(XML_GetCurrentLineNumber(parser));
        out.elements.clear();
    }
    XML_ParserFree(parser);
    return out;
}

BiplotSolution solution_named(const std::vector<std::string>& column_names) {
    BiplotSolution s;
    s.title = "Readers & <papers>";
    s.row_variable = "Paper";
    s.column_variable = "Age";
    s.inertia_shares = {0.9, 0.08};
    s.rows = {{"Tabloid", {0.7, 0.3}, {0.49, 0.09}}, {"Quality", {-0.7, 0.2}, {0.49, 0.04}},
              {"None", {0.1, -0.93}, {0.02, 0.87}}};
    double x = -0.3;
    for (const std::string& name : column_names) {
        s.columns.push_back({name, {x, 0.5 * x * x - 0.05}, {0.2, 0.2}});
        x += 0.6 / column_names.size();
    }
    s.supplementary = {{"Students", {0.25, 0.12}, {}}};
    return s;
}

std::string svg_of(const BiplotSolution& s, AxisPair axes = {1, 2}) {
    const JointPlot plot = build_joint_plot(s, axes, {});
    return joint_plot_svg(plot, layout_joint_plot(plot, {}));
}

TEST(SvgWriter, SelfContainedSvg11InPointsWithGenericFonts) {
    const std::string svg = svg_of(solution_named({"18-29", "30-39", "40-49", "50-64", "65+"}));
    const Parsed doc = parse(svg);
    ASSERT_TRUE(doc.error.empty()) << doc.error;
    const Element& root = doc.elements.front();
    EXPECT_EQ(root.name, "svg");
    EXPECT_EQ(root.attributes.at("xmlns"), "http://www.w3.org/2000/svg");
    EXPECT_EQ(root.attributes.at("version"), "1.1");
    // width="W pt" over a viewBox W wide: one user unit to the point.
    const std::string width = root.attributes.at("width");
    ASSERT_EQ(width.substr(width.size() - 2), "pt");
    EXPECT_EQ(root.attributes.at("viewBox").rfind("0 0 " + width.substr(0, width.size() - 2) + " ", 0), 0u);

    int texts = 0;
    for (const Element& e : doc.elements) {
        for (const char* refused : {"image", "script", "style", "foreignObject", "use", "a"}) {
            EXPECT_NE(e.name, refused);
        }
        for (const auto& [name, value] : e.attributes) {
            EXPECT_EQ(name.find("href"), std::string::npos) << e.name;
            EXPECT_EQ(value.find("url("), std::string::npos) << e.name << " " << name;
            if (name == "font-family") {
                EXPECT_EQ(value, "sans-serif");
            }
            // Numbers with '.' and two decimals at most.
            if (name == "x" || name == "y" || name == "cx" || name == "r" || name == "font-size") {
                EXPECT_EQ(value.find(','), std::string::npos);
                const auto point = value.find('.');
                if (point != std::string::npos) {
                    EXPECT_LE(value.size() - point - 1, 2u) << value;
                }
            }
        }
        if (e.name == "text") ++texts;
    }
    EXPECT_GT(texts, 3 + 5 + 1 + 4);  // labels, ticks, titles, legend
}

// The root's first <title> names the plot; every point carries a tooltip
// <title>; labels are text elements.
TEST(SvgWriter, LabelsTitlesAndTooltipsKeepTheirCharacters) {
    const std::string svg =
        svg_of(solution_named({"A&B", "<tag>", "\"q\" 'a'", "Z\xC3\xBCrich \xE4\xB8\xAD", "bad\xFF\x01"}));
    const Parsed doc = parse(svg);
    ASSERT_TRUE(doc.error.empty()) << doc.error;
    std::vector<std::string> texts, titles;
    for (const Element& e : doc.elements) {
        if (e.name == "text") texts.push_back(e.text);
        if (e.name == "title") titles.push_back(e.text);
    }
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(titles.front(), "Readers & <papers>: joint plot of axes 1 and 2");
    EXPECT_EQ(titles.size(), 1u + 3 + 5 + 1);
    const auto has = [](const std::vector<std::string>& list, const std::string& text) {
        return std::find(list.begin(), list.end(), text) != list.end();
    };
    for (const char* label : {"A&B", "<tag>", "\"q\" 'a'", "Z\xC3\xBCrich \xE4\xB8\xAD", "bad\xEF\xBF\xBD\xEF\xBF\xBD",
                              "Tabloid", "Students"})
        EXPECT_TRUE(has(texts, label)) << label;
    EXPECT_TRUE(has(titles, "Column 1: A&B\nAxis 1: -0.3000, axis 2: -0.0050\n"
                            "Contribution to axis 1: 20.0 %, to axis 2: 20.0 %"));
    EXPECT_TRUE(has(texts, "Axis 1 (90.0 %)"));
    EXPECT_TRUE(has(texts, "Axis 2 (8.0 %)"));
}

TEST(SvgWriter, SamePlotSameBytesAndEachPairItsOwnPicture) {
    const BiplotSolution s = solution_named({"a", "b", "c", "d", "e", "f", "g"});
    const std::string first = svg_of(s);
    EXPECT_EQ(svg_of(s), first);
    EXPECT_EQ(svg_of(BiplotSolution(s)), first);
    EXPECT_NE(svg_of(s, {2, 1}), first);
}

TEST(XmlText, EntitiesLineEndsAndForbiddenCharacters) {
    EXPECT_EQ(xml_text("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&apos;f");
    EXPECT_EQ(xml_text("one\ntwo\tthree\r"), "one&#10;two&#9;three&#13;");
    EXPECT_EQ(xml_text(std::string("\x00\x1b", 2)), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(xml_text("\xEF\xBF\xBE"), "\xEF\xBF\xBD");  // U+FFFE
    EXPECT_EQ(xml_text("\xC3\xA9\xE2\x82\xAC"), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(xml_text("\xC3"), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace marvist
