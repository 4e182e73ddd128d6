// The texts of the program: the fixed page paths, messages and captions, in one place.
#pragma once

#include "text/text.h"

namespace app {

inline const text::Text kLoginPathStart = "loginAction.do?zjh=";
inline const text::Text kLoginPathPassword = "&mm=";
inline const text::Text kGradePagePath = "gradeLnAllAction.do?type=ln&oper=sxinfo&lnsxdm=001";

inline const text::Text kFormatErrorMessage = "您的用户名/密码格式有误，请检查后重试。";
inline const text::Text kFormatErrorCaption = "输入错误：";
inline const text::Text kWrongPasswordPhrase = "您的密码不正确，请您重新输入！";
inline const text::Text kUnknownNumberPhrase = "你输入的证件号不存在，请您重新输入！";
inline const text::Text kLoginFailedCaption = "用户名/密码错误：";
inline const text::Text kNoAnswerMessage = "无法连接教务处系统，请检查网络后重试。";
inline const text::Text kNetworkErrorCaption = "网络错误：";
inline const text::Text kNoGradePageMessage = "未能获取成绩列表，请稍后重试。";
inline const text::Text kSavedMessage = "成绩查询结果已保存，请保存好您在澄溪成长的每一步哦亲！~";
inline const text::Text kSaveFailedPrefix = "保存失败：";
inline const text::Text kProgramTitle = "澄溪学院成绩计算器";

// Form names of the controls the routines address.
inline const text::Text kNumberBox = "编辑框1";
inline const text::Text kPasswordBox = "编辑框2";
inline const text::Text kButton1 = "按钮1";
inline const text::Text kButton2 = "按钮2";
inline const text::Text kSelectAllBox = "选择框1";

inline constexpr int kEnterKey = 13;

}  // namespace app
