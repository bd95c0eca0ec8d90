#pragma once
// What the health windows need from the program around them; the
// composition root fills it in.
#include <QString>
#include <functional>

namespace vorlix {

class LinkDocument;
class Prompts;

struct HealthHooks {
  LinkDocument& doc;
  Prompts& prompts;
  // The folder the main window shows ("Favorites\News\"), as store text.
  std::function<std::string()> currentFolder;
  // Hands a URL to the browser.
  std::function<void(const QString&)> openUrl;
  // After an edit: the main window's views show the records again.
  std::function<void()> refreshViews;
};

}  // namespace vorlix
