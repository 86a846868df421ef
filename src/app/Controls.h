// Control and window ids of the program's windows, named as the forms name them.
#pragma once

namespace bm {

enum ControlId : int {
  MainWindowId = 1,
  FirefoxWindowId = 2,

  超级按钮_一键备份书签 = 101,
  标签_文字,
  超级按钮_一键恢复书签,
  标签1,
  组合框_盘符,
  单选框_备份,
  单选框_恢复,
  分组框1,
  超级按钮_谷歌浏览器,
  超级按钮_IE浏览器,
  超级按钮_搜狗浏览器,
  超级按钮_极速浏览器,
  超级按钮_猎豹浏览器,
  超级按钮_Edge浏览器,
  超级按钮_360极速浏览器,
  超级按钮_360安全浏览器,
  超级按钮_360极速浏览器X,
  超级按钮9,
  超级按钮_火狐浏览器,
  超级按钮_遨游浏览器,
  超级按钮_QQ浏览器,
  超级按钮_双核浏览器大,
  超级按钮_双核浏览器小,

  // FirefoxFolderWindow
  编辑框_火狐变量目录 = 201,
  按钮_载入火狐目录,
};

}  // namespace bm
