// The key/value pairs that each combo item of the settings window carries.
#pragma once

#include <map>
#include <string>

class UserAttributes {
 public:
  void Set(const std::string& key, const std::string& value) { values_[key] = value; }
  // The value, or an empty string when the key is absent.
  std::string Get(const std::string& key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? std::string() : found->second;
  }

 private:
  std::map<std::string, std::string> values_;
};
