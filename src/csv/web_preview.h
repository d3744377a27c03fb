#pragma once

class QObject;
class QWebEngineView;
class QWidget;

namespace vornask {

// The preview pane: a web view that shows local files only. Its profile is
// kept in memory and owned by `profileOwner`, which must outlive the view;
// every request that would leave the machine is blocked, so a page with a
// remote image shows it missing. The view is never reached by the Tab key.
QWebEngineView* CreateWebPreview(QWidget* parent, QObject* profileOwner);

}  // namespace vornask
