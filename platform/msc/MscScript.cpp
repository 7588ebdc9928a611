#include "MscScript.h"

#include <windows.h>

#include <json/json.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "MscApi.h"

namespace {

bool ReadInt(const Json::Value& object, const char* key, long long& value, std::string& error) {
  const Json::Value& member = object[key];
  if (member.isNull()) return true;
  if (!member.isIntegral()) {
    error = std::string("\"") + key + "\" is not an integer";
    return false;
  }
  value = member.asInt64();
  return true;
}

bool ReadTexts(const Json::Value& array, std::vector<std::string>& texts, std::string& error) {
  if (array.isNull()) return true;
  if (!array.isArray()) {
    error = "\"finals\" is not an array";
    return false;
  }
  for (const Json::Value& item : array) {
    if (!item.isString()) {
      error = "a final result is not a string";
      return false;
    }
    texts.push_back(item.asString());
  }
  return true;
}

bool ReadPartials(const Json::Value& array, std::vector<MscPartialResult>& partials,
                  std::string& error) {
  if (array.isNull()) return true;
  if (!array.isArray()) {
    error = "\"partials\" is not an array";
    return false;
  }
  for (const Json::Value& item : array) {
    long long after = 0;
    if (!item.isObject() || !ReadInt(item, "after_bytes", after, error) ||
        !item["result"].isString() || after < 0) {
      if (error.empty()) error = "a partial result needs \"after_bytes\" and a \"result\" text";
      return false;
    }
    partials.push_back({static_cast<unsigned long>(after), item["result"].asString()});
  }
  return true;
}

bool ReadErrors(const Json::Value& array, std::vector<MscScriptedError>& errors,
                std::string& error) {
  if (array.isNull()) return true;
  if (!array.isArray()) {
    error = "\"errors\" is not an array";
    return false;
  }
  for (const Json::Value& item : array) {
    if (!item.isObject() || !item["call"].isString() || !item["at"].isInt() ||
        !item["code"].isInt()) {
      error = "an error needs \"call\", \"at\" and \"code\"";
      return false;
    }
    errors.push_back({item["call"].asString(), item["at"].asInt(), item["code"].asInt()});
  }
  return true;
}

bool ReadSession(const Json::Value& object, MscSessionPlan& plan, std::string& error) {
  if (!object.isObject()) {
    error = "a session is not an object";
    return false;
  }
  plan.echo = false;
  const Json::Value& never = object["never_completes"];
  if (!never.isNull() && !never.isBool()) {
    error = "\"never_completes\" is not a boolean";
    return false;
  }
  plan.neverCompletes = never.asBool();
  return ReadInt(object, "end_of_speech_after_bytes", plan.endOfSpeechAfterBytes, error) &&
         ReadPartials(object["partials"], plan.partials, error) &&
         ReadTexts(object["finals"], plan.finals, error) &&
         ReadErrors(object["errors"], plan.errors, error);
}

std::string ParamValue(const std::string& params, const std::string& key) {
  size_t start = 0;
  while (start <= params.size()) {
    size_t end = params.find(',', start);
    if (end == std::string::npos) end = params.size();
    const std::string pair = params.substr(start, end - start);
    const size_t equals = pair.find('=');
    if (equals != std::string::npos) {
      auto trim = [](std::string text) {
        const size_t first = text.find_first_not_of(' ');
        const size_t last = text.find_last_not_of(' ');
        return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
      };
      if (trim(pair.substr(0, equals)) == key) return trim(pair.substr(equals + 1));
    }
    start = end + 1;
  }
  return std::string();
}

}  // namespace

int MscSessionPlan::ErrorAt(const std::string& call, int count) const {
  for (const MscScriptedError& error : errors) {
    if (error.call == call && error.at == count) return error.code;
  }
  return 0;
}

const MscSessionPlan& MscScript::PlanOfSession(int index) const {
  static const MscSessionPlan echo;
  if (sessions.empty()) return echo;
  return sessions[std::min<size_t>(static_cast<size_t>(index), sessions.size() - 1)];
}

bool ParseMscScript(const std::string& text, MscScript& script, std::string& error) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  if (!reader->parse(text.data(), text.data() + text.size(), &root, &error)) return false;
  if (!root.isObject()) {
    error = "the script is not an object";
    return false;
  }
  long long loginError = 0;
  if (!ReadInt(root, "login_error", loginError, error)) return false;
  script.loginError = static_cast<int>(loginError);
  const Json::Value& sessions = root["sessions"];
  if (!sessions.isNull() && !sessions.isArray()) {
    error = "\"sessions\" is not an array";
    return false;
  }
  for (const Json::Value& item : sessions) {
    MscSessionPlan plan;
    if (!ReadSession(item, plan, error)) return false;
    script.sessions.push_back(std::move(plan));
  }
  return true;
}

std::wstring FindMscScriptFile(const std::string& loginParams) {
  wchar_t named[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(MSC_SCRIPT_VARIABLE, named, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return named;
  std::string workDir = ParamValue(loginParams, "work_dir");
  if (workDir.empty()) workDir = ".";
  const std::filesystem::path candidate =
      std::filesystem::path(workDir) / MSC_SCRIPT_FILE_NAME;
  std::error_code ignored;
  return std::filesystem::exists(candidate, ignored) ? candidate.wstring() : std::wstring();
}
