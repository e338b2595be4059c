// The ten bookmark icons, 10 x 10 pixels each, showing the digits 0 to 9. They are drawn in
// code on a white ground that is then made transparent. One set is shared by all gutters:
// the first gutter to ask creates it, and it is freed with the last one holding it.
#pragma once

#include <QImage>

#include <array>
#include <memory>

namespace velmora::widget
{

class TBookmarkIcons
{
public:
    static constexpr int kSize = 10;
    static constexpr int kCount = 10;

    static std::shared_ptr<const TBookmarkIcons> shared();

    // The icon of bookmark number (0 to 9).
    const QImage &icon(int number) const { return images_[static_cast<std::size_t>(number)]; }

    TBookmarkIcons();

private:
    std::array<QImage, kCount> images_;
};

} // namespace velmora::widget
