// The list the registrations fill before main() runs.
#include "cli/subcommand.h"

#include <algorithm>
#include <cstring>

namespace tabulo::cli {

namespace {

std::vector<Subcommand>& registry() {
    static std::vector<Subcommand> subcommands;
    return subcommands;
}

}  // namespace

SubcommandRegistration::SubcommandRegistration(Subcommand subcommand) {
    std::vector<Subcommand>& all = registry();
    const auto at = std::find_if(all.begin(), all.end(), [&](const Subcommand& s) {
        return std::strcmp(s.name, subcommand.name) > 0;
    });
    all.insert(at, std::move(subcommand));
}

const std::vector<Subcommand>& registeredSubcommands() {
    return registry();
}

const Subcommand* findSubcommand(std::string_view name) {
    for (const Subcommand& s : registry()) {
        if (name == s.name) return &s;
    }
    return nullptr;
}

}  // namespace tabulo::cli
