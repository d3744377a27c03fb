#pragma once

class QWebEngineView;
class QWidget;

namespace vornask {

// The preview pane: a web view that shows local files only. It has a profile
// of its own kept in memory, and every request that would leave the machine
// is blocked, so a page with a remote image shows it missing.
QWebEngineView* CreateWebPreview(QWidget* parent);

}  // namespace vornask
