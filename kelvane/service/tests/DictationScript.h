// The speech SDK stand-in's script for one dictation: partial results after the 2nd and 5th
// microphone buffer (the second replaces the first), then the final result; and the text
// that dictation types.
#pragma once

const char kDictationScript[] = R"({"sessions":[{
  "partials":[
    {"after_bytes":8192,"result":"{\"sn\":1,\"ls\":false,\"pgs\":\"apd\",\"ws\":[{\"cw\":[{\"w\":\"你好\",\"sc\":0}]}]}"},
    {"after_bytes":20480,"result":"{\"sn\":2,\"ls\":false,\"pgs\":\"rpl\",\"rg\":[1,1],\"ws\":[{\"cw\":[{\"w\":\"你好\",\"sc\":0}]},{\"cw\":[{\"w\":\"世界\",\"sc\":0}]}]}"}],
  "finals":["{\"sn\":3,\"ls\":true,\"pgs\":\"apd\",\"ws\":[{\"cw\":[{\"w\":\"。\",\"sc\":0}]}]}"]}]})";
const wchar_t kDictated[] = L"你好世界。";
