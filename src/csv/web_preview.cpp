#include "csv/web_preview.h"

#include <QWebEngineProfile>
#include <QWebEnginePage>
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

}  // namespace

QWebEngineView* CreateWebPreview(QWidget* parent) {
  auto* view = new QWebEngineView(parent);
  auto* profile = new QWebEngineProfile(view);  // off the record: nothing on disk
  profile->setUrlRequestInterceptor(new LocalOnly(profile));
  auto* page = new QWebEnginePage(profile, view);
  page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  page->settings()->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  view->setPage(page);
  view->setFocusPolicy(Qt::NoFocus);
  view->setContextMenuPolicy(Qt::NoContextMenu);
  return view;
}

}  // namespace vornask
