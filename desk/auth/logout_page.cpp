#include "auth/logout_page.h"

#include "auth/cookies.h"

namespace pralix::desk {

HttpAnswer LogoutPage::handle(const HttpRequest& request, const Viewer&) {
  sessions_.end(request);
  HttpAnswer answer{303, "signed out\n", {}};
  answer.headers.emplaceBack("Location", kLoginPath);
  answer.headers.append(
      {"Set-Cookie", SetCookie(kSessionCookie, "", "/", 0, CameOverTls(request, trustedProxies_))});
  return answer;
}

}  // namespace pralix::desk
