#include "setup_error.h"

namespace kestro {

const wchar_t* SetupErrorMessage(int code) {
    static const wchar_t* const kMessages[] = {
        L"",
        L"安装包不正确, 请重新安装",
        L"读取安装包失败, 请重新安装",
        L"配置文件不正确, 请重新安装",
        L"读取配置文件失败, 请重新安装",
        L"安装包内容不正确, 请重新下载",
        L"不能写入临时文件, 请重新安装",
        L"读取压缩数据失败, 请重新安装",
        L"解压失败, 请清理磁盘后重新安装",
        L"很抱歉，安装包校验失败，请尝试重新下载...Orz",
        L"无法下载安装包, 请从官网下载离线安装包",
    };
    if (code < 0 || code >= int(sizeof(kMessages) / sizeof(kMessages[0]))) return L"";
    return kMessages[code];
}

}  // namespace kestro
