#include "csv/web_preview.h"

#include <QChildEvent>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace vornask {
namespace {

class LocalOnly : public QWebEngineUrlRequestInterceptor {
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    const QString scheme = info.requestUrl().scheme();
    if (scheme != "file" && scheme != "data" && scheme != "about" && scheme != "blob") info.block(true);
  }
};

// The view makes its drawing widget later: keep it out of the Tab order, and
// let files dropped on it reach the window, which opens them.
class PreviewChildren : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished) {
      if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
      {
        child->setFocusPolicy(Qt::ClickFocus);
        child->setAcceptDrops(false);
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

QWebEngineView* CreateWebPreview(QWidget* parent, QObject* profileOwner) {
  auto* view = new QWebEngineView(parent);
  view->installEventFilter(new PreviewChildren(view));
  auto* profile = new QWebEngineProfile(profileOwner);  // off the record: nothing on disk
  profile->setUrlRequestInterceptor(new LocalOnly(profile));
  auto* page = new QWebEnginePage(profile, view);
  page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  page->settings()->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  view->setPage(page);
  view->setFocusPolicy(Qt::ClickFocus);
  view->setAcceptDrops(false);
  view->setContextMenuPolicy(Qt::NoContextMenu);
  for (auto* child : view->findChildren<QWidget*>()) {
    child->setFocusPolicy(Qt::ClickFocus);
    child->setAcceptDrops(false);
  }
  return view;
}

}  // namespace vornask
