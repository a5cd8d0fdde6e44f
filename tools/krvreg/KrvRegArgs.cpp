#include "krvreg/KrvRegArgs.h"

#include "base/Text.h"
#include "platform/RegTree.h"

namespace krv {
namespace {

struct OpInfo {
  KrvRegOp op;
  const char* name;
  int positionals;  // arguments after the operation that are not switches
};

constexpr OpInfo kOps[] = {
    {KrvRegOp::kQuery, "QUERY", 1},   {KrvRegOp::kAdd, "ADD", 1},       {KrvRegOp::kDelete, "DELETE", 1},
    {KrvRegOp::kImport, "IMPORT", 1}, {KrvRegOp::kExport, "EXPORT", 2},
};

enum class Switch { kV, kVe, kVa, kS, kT, kD, kF, kY };

struct SwitchInfo {
  Switch sw;
  const char* name;
  bool takes_value;
};

constexpr SwitchInfo kSwitches[] = {
    {Switch::kV, "v", true}, {Switch::kVe, "ve", false}, {Switch::kVa, "va", false}, {Switch::kS, "s", false},
    {Switch::kT, "t", true}, {Switch::kD, "d", true},    {Switch::kF, "f", false},   {Switch::kY, "y", false},
};

// Which switches each operation takes.
bool Allowed(KrvRegOp op, Switch sw) {
  switch (op) {
    case KrvRegOp::kQuery:
      return sw == Switch::kV || sw == Switch::kVe || sw == Switch::kS;
    case KrvRegOp::kAdd:
      return sw == Switch::kV || sw == Switch::kVe || sw == Switch::kT || sw == Switch::kD || sw == Switch::kF;
    case KrvRegOp::kDelete:
      return sw == Switch::kV || sw == Switch::kVe || sw == Switch::kVa || sw == Switch::kF;
    case KrvRegOp::kExport:
      return sw == Switch::kY;
    default:
      return false;
  }
}

bool IsHelp(const std::string& arg) { return arg == "/?" || arg == "-?"; }

const SwitchInfo* FindSwitch(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return nullptr;
  for (const auto& s : kSwitches) {
    if (IEquals(arg.substr(1), s.name)) return &s;
  }
  return nullptr;
}

// Records one switch; false if it is repeated.
bool Apply(const SwitchInfo& s, const std::string& value, KrvRegCommand* cmd) {
  auto set_flag = [](bool* flag) {
    if (*flag) return false;
    *flag = true;
    return true;
  };
  auto set_text = [&value](std::optional<std::string>* text) {
    if (text->has_value()) return false;
    *text = value;
    return true;
  };
  switch (s.sw) {
    case Switch::kV:
      return set_text(&cmd->value_name);
    case Switch::kVe:
      return set_flag(&cmd->default_value);
    case Switch::kVa:
      return set_flag(&cmd->all_values);
    case Switch::kS:
      return set_flag(&cmd->recurse);
    case Switch::kT:
      return set_text(&cmd->type);
    case Switch::kD:
      return set_text(&cmd->data);
    case Switch::kF:
    case Switch::kY:
      return set_flag(&cmd->force);
  }
  return false;
}

// /v, /ve and /va each pick what is meant; only one may be given.
bool Consistent(const KrvRegCommand& cmd) {
  const int picks = int(cmd.value_name.has_value()) + int(cmd.default_value) + int(cmd.all_values);
  return picks <= 1;
}

}  // namespace

std::string KrvRegKey::FullName() const {
  std::string name = HiveName(hive);
  if (!path.empty()) name += "\\" + path;
  return name;
}

bool ParseKrvRegKey(const std::string& text, KrvRegKey* key) {
  if (text.empty() || text[0] == '\\') return false;
  const size_t slash = text.find('\\');
  if (!ParseHiveName(text.substr(0, slash), &key->hive)) return false;
  key->path.clear();
  if (slash == std::string::npos) return true;
  for (const std::string& part : SplitKeyPath(text.substr(slash + 1))) {
    if (!key->path.empty()) key->path += '\\';
    key->path += part;
  }
  return true;
}

const char* KrvRegOpName(KrvRegOp op) {
  for (const auto& o : kOps) {
    if (o.op == op) return o.name;
  }
  return "";
}

KrvRegArgError ParseKrvRegArgs(const std::vector<std::string>& args, KrvRegCommand* cmd) {
  *cmd = KrvRegCommand{};
  if (args.empty()) return KrvRegArgError::kSyntax;
  if (IsHelp(args[0])) {
    cmd->help = true;
    return args.size() == 1 ? KrvRegArgError::kNone : KrvRegArgError::kSyntax;
  }
  const OpInfo* info = nullptr;
  for (const auto& o : kOps) {
    if (IEquals(args[0], o.name)) info = &o;
  }
  if (info == nullptr) return KrvRegArgError::kSyntax;
  cmd->op = info->op;
  if (args.size() == 2 && IsHelp(args[1])) {
    cmd->help = true;
    return KrvRegArgError::kNone;
  }
  if (args.size() < size_t(1 + info->positionals)) return KrvRegArgError::kSyntax;

  // Positional arguments come first and are taken as they stand, so a POSIX
  // file name such as "/tmp/x.reg" is never mistaken for a switch.
  if (info->op == KrvRegOp::kImport) {
    cmd->file = args[1];
  } else {
    if (!ParseKrvRegKey(args[1], &cmd->key)) return KrvRegArgError::kKeyName;
    if (info->op == KrvRegOp::kExport) cmd->file = args[2];
  }
  if ((info->op == KrvRegOp::kImport || info->op == KrvRegOp::kExport) && cmd->file.empty()) {
    return KrvRegArgError::kSyntax;
  }

  for (size_t i = 1 + info->positionals; i < args.size(); ++i) {
    const SwitchInfo* s = FindSwitch(args[i]);
    if (s == nullptr || !Allowed(info->op, s->sw)) return KrvRegArgError::kSyntax;
    std::string value;
    if (s->takes_value) {
      if (++i == args.size()) return KrvRegArgError::kSyntax;
      value = args[i];
    }
    if (!Apply(*s, value, cmd)) return KrvRegArgError::kSyntax;
  }
  return Consistent(*cmd) ? KrvRegArgError::kNone : KrvRegArgError::kSyntax;
}

}  // namespace krv
