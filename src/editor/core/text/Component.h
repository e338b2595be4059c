// The common base of the editor's components, so that a navigator can be handed any
// component and tell whether it is an editor.
#pragma once

namespace velmora::core
{

class TComponent
{
public:
    TComponent() = default;
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;
    virtual ~TComponent() = default;
};

} // namespace velmora::core
