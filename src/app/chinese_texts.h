#pragma once

class QCoreApplication;

namespace zorvia {

// Makes the texts that Qt and the web engine show of their own (context
// menus, standard buttons, the web engine's error pages) simplified
// Chinese, like the rest of the program: the default locale becomes zh_CN
// and Qt's zh_CN translations are installed on `app`. Must run before the
// web engine starts. False when Qt's translations could not be loaded (the
// texts then stay in English).
bool installChineseTexts(QCoreApplication& app);

} // namespace zorvia
