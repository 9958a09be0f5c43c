-- The account-set row ('TZ', carrying the company name and backup folder)
-- and the operators a new account set starts with. Operators are renamed
-- and their passwords changed in the settings window; rows are never added.
INSERT INTO 信息表 (代号, 操作员, 密码, 帐套名称, 备份路径) VALUES ('TZ', '主管', '888', '新建单位', NULL);
INSERT INTO 信息表 (代号, 操作员, 密码, 帐套名称, 备份路径) VALUES ('01', '会计', '111', NULL, NULL);
INSERT INTO 信息表 (代号, 操作员, 密码, 帐套名称, 备份路径) VALUES ('02', '出纳', '222', NULL, NULL);
