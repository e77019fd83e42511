// A window showing one of the program's built-in documents: Markdown text
// held as a Qt resource (":/docs/guide.md"), rendered by Qt's own Markdown
// support in a text browser, with the images it names by relative paths
// (resources beside it). Links within the document scroll to the heading
// they name, as on a Git forge ("#the-biplot"); other links open in the
// system's browser.
#pragma once

#include <QString>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWidget>

#include "app/windowing.h"

namespace marvist::qt {

class DocumentWindow : public QWidget {
    Q_OBJECT

public:
    // The window of request.document, or nullptr when the program holds no
    // such document. owner: the window stays in front of it; none: a window
    // of its own.
    static DocumentWindow* open(const ui::DocumentWindowSpec& request, QWidget* owner);

    QTextBrowser* browser() const { return browser_; }

private:
    DocumentWindow(const ui::DocumentWindowSpec& request, QWidget* owner);
    QTextBrowser* browser_ = nullptr;
};

// The anchor a Git forge gives a heading: lower case, blanks become
// hyphens, punctuation other than hyphens and underscores is dropped
// ("Tests and their limits" -> "tests-and-their-limits").
QString heading_anchor(const QString& heading);

// Names every heading of document by its anchor, so that links to
// "#anchor" find it.
void name_heading_anchors(QTextDocument* document);

// Pictures of browser's document wider than widest pixels are scaled
// smoothly to that width, their proportions kept, so that a screenshot of a
// whole screen fits the window.
void fit_pictures(QTextBrowser* browser, int widest);

// The widest a picture of a document window is drawn, in pixels.
inline constexpr int kWidestPicture = 680;

}  // namespace marvist::qt
