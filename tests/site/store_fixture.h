// A fresh, empty store for each test: SQLite in a temporary file, or, when
// RODEO_SITE_TEST_DB names a PostgreSQL database (store_on_postgres.py starts a
// server and sets it), that database emptied.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "site/database.h"

class FreshStore {
 public:
  FreshStore() {
    if (const char* pg = std::getenv("RODEO_SITE_TEST_DB"); pg && *pg) {
      url_ = pg;
      auto db = site::OpenDatabase(url_);
      db->Query("DROP SCHEMA public CASCADE");
      db->Query("CREATE SCHEMA public");
      return;
    }
    path_ = std::filesystem::temp_directory_path() / ("site_store_" + std::to_string(getpid()) + ".db");
    Remove();
    url_ = "sqlite:" + path_.string();
  }
  ~FreshStore() { Remove(); }
  FreshStore(const FreshStore&) = delete;
  FreshStore& operator=(const FreshStore&) = delete;

  const std::string& url() const { return url_; }

 private:
  void Remove() {
    if (path_.empty()) return;
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_.string() + suffix);
  }
  std::string url_;
  std::filesystem::path path_;
};
