#pragma once
// The product's fixed endpoints of the earlier edition.

// The two servers the login offers by name, and the address each name
// stands for.
#define QUILLET_SERVER_NAME_1 "双线服务器"
#define QUILLET_SERVER_NAME_2 "电信服务器"
#define QUILLET_SERVER_ADDRESS_1 "61.155.20.77"
#define QUILLET_SERVER_ADDRESS_2 "218.4.58.130"
// The setup package of the current version.
#define QUILLET_SETUP_ADDRESS "http://www.brovik.com/quillet/QuilletSetup.exe"
// Where a user gets an account or a new password.
#define QUILLET_ACCOUNT_PAGE "http://www.brovik.com/quillet/account.html"
