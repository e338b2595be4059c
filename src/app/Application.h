// Program start: the application object, the four windows in their order, the message loop.
#pragma once

namespace velmora::app
{

int runApplication(int argc, char **argv);

} // namespace velmora::app
