-- Income statement, general-enterprise layout (会企02表, 2007 standard). The
-- official form prints no line numbers; the rows number their lines 1-17 in
-- order.
--
-- This layout reads the same small-enterprise chart: 营业税金及附加 is 5403
-- 税金及附加 and the other lines take the accounts of the same name.
-- 资产减值损失, 公允价值变动收益, 对联营企业和合营企业的投资收益 and
-- 非流动资产处置损失 have no account in the chart and no formula, so they
-- print empty.
--
-- Profit-and-loss figures come from the month-end closing lines, income and
-- expense both positive, so income is added and costs and expenses
-- subtracted. 营业利润, 利润总额 and 净利润 are as in the small-enterprise
-- layout; 净利润 names every level-1 profit-and-loss account once and equals
-- the amount closed into 3103 本年利润.

INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (1, '一、营业收入', 1, '5001+5051');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (2, '减：营业成本', 2, '5401+5402');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (3, '营业税金及附加', 3, '5403');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (4, '销售费用', 4, '5601');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (5, '管理费用', 5, '5602');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (6, '财务费用', 6, '5603');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (7, '资产减值损失', 7, NULL);
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (8, '加：公允价值变动收益（损失以"-"号填列）', 8, NULL);
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (9, '投资收益（损失以"-"号填列）', 9, '5111');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (10, '其中：对联营企业和合营企业的投资收益', 10, NULL);
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (11, '二、营业利润（亏损以"-"号填列）', 11, '5001+5051+5111-5401-5402-5403-5601-5602-5603');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (12, '加：营业外收入', 12, '5301');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (13, '减：营业外支出', 13, '5711');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (14, '其中：非流动资产处置损失', 14, NULL);
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (15, '三、利润总额（亏损总额以"-"号填列）', 15, '5001+5051+5111-5401-5402-5403-5601-5602-5603+5301-5711');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (16, '减：所得税费用', 16, '5801');
INSERT INTO 利润表07 (序号, 项目, 行次, 公式) VALUES (17, '四、净利润（净亏损以"-"号填列）', 17, '5001+5051+5111-5401-5402-5403-5601-5602-5603+5301-5711-5801');
