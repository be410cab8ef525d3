#pragma once

// How a backend keeps its controls by design name.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ravelon::forms {

template <class Control>
using NamedControls = std::map<std::string_view, std::unique_ptr<Control>, std::less<>>;

template <class Control>
Control& FindNamed(const NamedControls<Control>& controls, std::string_view name)
{
    if (auto it = controls.find(name); it != controls.end()) return *it->second;
    throw std::out_of_range("no such control: " + std::string(name));
}

}  // namespace ravelon::forms
