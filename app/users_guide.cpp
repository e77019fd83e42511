#include "app/users_guide.h"

#include <string>

#include "app/message_text.h"

namespace marvist {

void ShowUsersGuide(Session& session) {
    if (session.guide_window != ui::kNoWindow && session.layer.window_exists(session.guide_window)) {
        session.layer.activate_window(session.guide_window);
        return;
    }
    // A window of its own, not kept in front of the main window, so that the
    // guide can be read beside the program's other windows.
    const ui::DocumentWindowSpec request{.title = std::string(kUsersGuideTitle),
                                         .document = std::string(kUsersGuideDocument),
                                         .placement = ui::Placement{0.15, 0.05, 0.6, 0.85}};
    session.guide_window = session.layer.create_document_window(request);
    if (session.guide_window == ui::kNoWindow) {
        show_message(session, "User's Guide", "The user's guide is not built into this program.");
    }
}

}  // namespace marvist
