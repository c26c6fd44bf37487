#include "app/licence_texts.h"

namespace quillon {

namespace {

// The maker appears by its full name once, at the start, and by its short name throughout.
const wchar_t* const kLinesA[] = {
    L"最终用户软件许可协议",
    L"澄岫数据科技有限公司（以下简称“澄岫软件”）提醒您：在安装或使用本软件之前，请仔细阅读本协议的"
    L"全部条款。",
    L"您一旦安装、复制或以其他方式使用本软件，即表示您同意接受本协议各项条款的约束；如果您不同意，"
    L"请不要安装或使用本软件。",
    L"一、许可范围",
    L"1. "
    L"澄岫软件授予您一项非独占、不可转让的许可，允许您在已取得合法授权的计算机上安装和使用本软件。",
    L"2. 本软件的安装数量与使用人数不得超过您向澄岫软件或其授权经销商购买的许可数量。",
    L"3. 您可以为备份目的制作一份本软件的副本，但该副本须保留澄岫软件的全部版权声明。",
    L"二、使用限制",
    L"1. "
    L"未经澄岫软件书面同意，您不得出租、出借、转售或转授权本软件，也不得以其他方式向第三方提供本软"
    L"件。",
    L"2. 您不得对本软件进行反向工程、反向编译或反汇编，法律明确允许的情形除外。",
    L"3. 您不得删除或修改本软件及其文档中澄岫软件的商标、版权声明及其他权利标识。",
    L"三、知识产权",
    L"本软件及其文档的著作权、商标权及其他知识产权均归澄岫软件所有，受著作权法及相关国际条约的保护"
    L"。",
    L"本协议未明确授予您的一切权利均由澄岫软件保留。",
    L"四、数据与隐私",
    L"您通过本软件填报和发布的报表数据由您自行保存和管理，澄岫软件不会在未经您许可的情况下收集这些"
    L"数据。",
    L"您应自行负责数据的备份，并遵守与数据使用有关的法律法规。",
    L"五、技术支持与升级",
    L"澄岫软件或其授权经销商将按照购买时的约定向您提供技术支持服务。",
    L"本软件的升级版本可能附带新的许可条款，届时以新条款为准。",
    L"六、免责声明",
    L"在适用法律允许的最大范围内，本软件按“现状”提供，澄岫软件不作任何明示或默示的担保。",
    L"对于因使用或无法使用本软件而造成的任何间接损失，包括利润损失、业务中断或数据丢失，澄岫软件均"
    L"不承担责任。",
    L"在任何情况下，澄岫软件承担的赔偿总额不超过您为本软件实际支付的许可费用。",
    L"七、协议终止",
    L"如您违反本协议的任何条款，澄岫软件有权终止本协议，届时您必须立即停止使用并销毁本软件的全部副"
    L"本。",
    L"八、其他",
    L"本协议的订立、效力、解释及争议解决均适用本软件购买地的法律。",
    L"因本协议引起的争议，双方应友好协商解决；协商不成的，任何一方均可向澄岫软件所在地有管辖权的法"
    L"院提起诉讼。",
    L"本协议的任何条款被认定无效，不影响其余条款的效力。",
    L"澄岫软件对本协议拥有最终解释权。",
    L"如您对本协议有任何疑问，请与澄岫软件或您的经销商联系。",
    L"点击“我接受该协议”并继续安装，即表示您已阅读、理解并同意本协议的全部内容。",
    L"澄岫软件感谢您选用本软件！",
};

const wchar_t* const kLinesB[] = {
    L"終端使用者軟體許可協議",
    L"澄岫資料科技有限公司（以下簡稱「澄岫軟體」）提醒您：在安裝或使用本軟體之前，請仔細閱讀本協議"
    L"的全部條款。",
    L"您一旦安裝、複製或以其他方式使用本軟體，即表示您同意接受本協議各項條款的約束；如果您不同意，"
    L"請不要安裝或使用本軟體。",
    L"一、許可範圍",
    L"1. "
    L"澄岫軟體授予您一項非獨佔、不可轉讓的許可，允許您在已取得合法授權的計算機上安裝和使用本軟體。",
    L"2. 本軟體的安裝數量與使用人數不得超過您向澄岫軟體或其授權經銷商購買的許可數量。",
    L"3. 您可以為備份目的製作一份本軟體的副本，但該副本須保留澄岫軟體的全部版權宣告。",
    L"二、使用限制",
    L"1. "
    L"未經澄岫軟體書面同意，您不得出租、出借、轉售或轉授權本軟體，也不得以其他方式向第三方提供本軟"
    L"體。",
    L"2. 您不得對本軟體進行反向工程、反向編譯或反彙編，法律明確允許的情形除外。",
    L"3. 您不得刪除或修改本軟體及其文件中澄岫軟體的商標、版權宣告及其他權利標識。",
    L"三、智慧財產權",
    L"本軟體及其文件的著作權、商標權及其他智慧財產權均歸澄岫軟體所有，受著作權法及相關國際條約的保"
    L"護。",
    L"本協議未明確授予您的一切權利均由澄岫軟體保留。",
    L"四、資料與隱私",
    L"您透過本軟體填報和釋出的報表資料由您自行儲存和管理，澄岫軟體不會在未經您許可的情況下收集這些"
    L"資料。",
    L"您應自行負責資料的備份，並遵守與資料使用有關的法律法規。",
    L"五、技術支援與升級",
    L"澄岫軟體或其授權經銷商將按照購買時的約定向您提供技術支援服務。",
    L"本軟體的升級版本可能附帶新的許可條款，屆時以新條款為準。",
    L"六、免責宣告",
    L"在適用法律允許的最大範圍內，本軟體按「現狀」提供，澄岫軟體不作任何明示或默示的擔保。",
    L"對於因使用或無法使用本軟體而造成的任何間接損失，包括利潤損失、業務中斷或資料丟失，澄岫軟體均"
    L"不承擔責任。",
    L"在任何情況下，澄岫軟體承擔的賠償總額不超過您為本軟體實際支付的許可費用。",
    L"七、協議終止",
    L"如您違反本協議的任何條款，澄岫軟體有權終止本協議，屆時您必須立即停止使用並銷燬本軟體的全部副"
    L"本。",
    L"八、其他",
    L"本協議的訂立、效力、解釋及爭議解決均適用本軟體購買地的法律。",
    L"因本協議引起的爭議，雙方應友好協商解決；協商不成的，任何一方均可向澄岫軟體所在地有管轄權的法"
    L"院提起訴訟。",
    L"本協議的任何條款被認定無效，不影響其餘條款的效力。",
    L"澄岫軟體對本協議擁有最終解釋權。",
    L"如您對本協議有任何疑問，請與澄岫軟體或您的經銷商聯絡。",
    L"點選「我接受該協議」並繼續安裝，即表示您已閱讀、理解並同意本協議的全部內容。",
    L"澄岫軟體感謝您選用本軟體！",
};

const wchar_t* const kLinesC[] = {
    L"END USER LICENSE AGREEMENT",
    L"This agreement is between you and Chengxiu Soft Co., Ltd. (\"Chengxiu Soft\"). By "
    L"installing, copying or using this software you accept its terms; if you do not accept them, "
    L"do not install it.",
    L"1. Chengxiu Soft grants you a non-exclusive, non-transferable license to use the software "
    L"for the number of users you have licensed from Chengxiu Soft or its reseller.",
    L"2. You may not rent, resell, sublicense, reverse engineer or decompile the software, except "
    L"where the law expressly permits it. The software remains the property of Chengxiu Soft.",
    L"3. The software is provided \"as is\". As far as the law allows, Chengxiu Soft gives no "
    L"warranty and is not liable for any indirect loss, including lost profits or data.",
    L"4. If you break these terms, Chengxiu Soft may end this license, and you must destroy all "
    L"copies of the software.",
};

template <size_t N>
std::wstring Join(const wchar_t* const (&lines)[N]) {
  std::wstring text;
  for (size_t i = 0; i < N; ++i) {
    if (i > 0) text += L"\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace

std::wstring LicenceText(int column) {
  switch (column) {
    case 0:
      return Join(kLinesA);
    case 1:
      return Join(kLinesB);
    default:
      return Join(kLinesC);
  }
}

}  // namespace quillon
